// The install record on disk, folder creation, and the real prompt box.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "common/install_log.h"

namespace {

std::string RecordPath(const TempDir& dst) {
    return dst / "Uninstall.log";
}

// Clicks button id of the first message box of this process whose text
// contains needle; returns the box's caption and text.
struct BoxSeen {
    std::string caption, text;
    HWND owner = NULL;
};

DWORD WINAPI ClickBox(LPVOID param) {
    auto* args = static_cast<std::pair<int, BoxSeen*>*>(param);
    for (int tries = 0; tries < 400; ++tries) {
        Sleep(25);
        HWND box = NULL;
        while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
            DWORD pid = 0;
            GetWindowThreadProcessId(box, &pid);
            if (pid != GetCurrentProcessId() || !IsWindowVisible(box)) continue;
            char caption[256] = {0}, text[4096] = {0};
            GetWindowTextA(box, caption, sizeof(caption));
            SendDlgItemMessageA(box, 0xFFFF, WM_GETTEXT, sizeof(text),
                                reinterpret_cast<LPARAM>(text));
            args->second->caption = caption;
            args->second->text = text;
            args->second->owner = GetWindow(box, GW_OWNER);
            PostMessageA(GetDlgItem(box, args->first), BM_CLICK, 0, 0);
            return 0;
        }
    }
    return 1;
}

}  // namespace

TEST(Record, WrittenWithCrLfHiddenAndListingItselfLast) {
    TempDir src("src"), dst("dst");
    MakeSmallMedium(src.path());
    OwnerWindow owner;
    ScriptedJob job;
    RunJob(job, owner, src.path(), dst.path());
    ASSERT_EQ(owner.done, 1);

    const std::string bytes = ReadBytes(RecordPath(dst));
    std::string expected = job.m_strRecord.str();
    std::string crlf;
    for (char c : expected) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    EXPECT_EQ(bytes, crlf);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::vector<std::string> lines = Lines(expected);
    EXPECT_EQ(lines.back(), "File Copy: " + RecordPath(dst));
    EXPECT_EQ(lines.front(), "Made Dir: " + dst / "Support");
    EXPECT_TRUE(ExactlyHidden(RecordPath(dst))) << Attributes(RecordPath(dst));
    EXPECT_EQ(CountEntries(expected, kFileCopy) >= 11, true);
}

TEST(Record, SecondInstallReplacesTheRecord) {
    TempDir src("src"), dst("dst");
    MakeSmallMedium(src.path());
    EXPECT_TRUE(WriteBytes(src / "Temp\\only-first.dat", "1"));
    {
        OwnerWindow owner;
        ScriptedJob job;
        RunJob(job, owner, src.path(), dst.path());
        ASSERT_EQ(owner.done, 1);
    }
    DeleteFileA((src / "Temp\\only-first.dat").c_str());
    OwnerWindow owner;
    ScriptedJob job;
    RunJob(job, owner, src.path(), dst.path());
    ASSERT_EQ(owner.done, 1);

    std::string text = ReadBytes(RecordPath(dst));
    EXPECT_EQ(text.find("only-first.dat"), std::string::npos);
    size_t first = text.find("File Copy: " + RecordPath(dst));
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("File Copy: " + RecordPath(dst), first + 1), std::string::npos);
    EXPECT_TRUE(ExactlyHidden(RecordPath(dst))) << Attributes(RecordPath(dst));
}

TEST(Record, UnwritableRecordReportsTheFileErrorAndStillFinishes) {
    TempDir src("src"), dst("dst");
    MakeSmallMedium(src.path());
    MakeFolders(dst / "Uninstall.log");  // a folder where the record must go
    OwnerWindow owner;
    ScriptedJob job;
    RunJob(job, owner, src.path(), dst.path());
    EXPECT_EQ(owner.done, 1);
    ASSERT_EQ(job.fileErrors.size(), 1u);
    EXPECT_NE(job.fileErrors[0].find(RecordPath(dst)), std::string::npos) << job.fileErrors[0];
    EXPECT_TRUE(FolderExists(dst / "Uninstall.log"));
}

TEST(Record, RealFileErrorBoxIsOwnedByThePageAndClosedWithOk) {
    TempDir src("src"), dst("dst");
    MakeSmallMedium(src.path());
    MakeFolders(dst / "Uninstall.log");
    OwnerWindow owner;
    CopyOnlyJob job;  // the real box
    BoxSeen seen;
    std::pair<int, BoxSeen*> args(IDOK, &seen);
    HANDLE clicker = CreateThread(NULL, 0, ClickBox, &args, 0, NULL);
    RunJob(job, owner, src.path(), dst.path());
    WaitForSingleObject(clicker, 15000);
    CloseHandle(clicker);
    EXPECT_EQ(owner.done, 1);
    EXPECT_EQ(seen.caption, AfxGetAppName());
    EXPECT_NE(seen.text.find(RecordPath(dst)), std::string::npos) << seen.text;
    EXPECT_EQ(seen.owner, owner.hwnd());
}

TEST(Prompt, RealMissingFolderBoxAnsweredIgnoreFromAnotherThread) {
    TempDir src("src"), dst("dst");
    MakeSmallMedium(src.path());
    RemoveTree(src / "图框");
    OwnerWindow owner;
    CopyOnlyJob job;
    BoxSeen seen;
    std::pair<int, BoxSeen*> args(IDIGNORE, &seen);
    HANDLE clicker = CreateThread(NULL, 0, ClickBox, &args, 0, NULL);
    RunJob(job, owner, src.path(), dst.path());
    DWORD clickerDone = WaitForSingleObject(clicker, 15000);
    CloseHandle(clicker);
    ASSERT_EQ(clickerDone, WAIT_OBJECT_0);
    EXPECT_EQ(seen.caption, AfxGetAppName());
    EXPECT_EQ(seen.owner, owner.hwnd());
    EXPECT_NE(seen.text.find("找不到安装文件的路径 " + src / "图框\\"), std::string::npos)
        << seen.text;
    EXPECT_EQ(owner.done, 1);
    EXPECT_TRUE(FolderExists(dst / "图框"));
}

TEST(MakeDirPath, CreatesEachMissingFolderAndRecordsOnlyTheFullPath) {
    TempDir dst("mk");
    ScriptedJob job;
    EXPECT_TRUE(job.MakeDirPath((dst / "A\\B").c_str()));
    EXPECT_TRUE(FolderExists(dst / "A\\B"));
    EXPECT_EQ(job.m_strRecord.str(), "Made Dir: " + dst / "A\\B" + "\n");

    job.m_strRecord.Empty();
    EXPECT_TRUE(job.MakeDirPath((dst / "C\\D\\").c_str()));
    EXPECT_TRUE(FolderExists(dst / "C\\D"));
    EXPECT_EQ(job.m_strRecord.str(), "Made Dir: " + dst / "C\\D\\" + "\n");

    job.m_strRecord.Empty();
    EXPECT_TRUE(job.MakeDirPath(""));
    EXPECT_EQ(job.m_strRecord.str(), "Made Dir: \n");

    // An existing file counts as existing: no prompt, TRUE.
    EXPECT_TRUE(WriteBytes(dst / "F", "file"));
    EXPECT_TRUE(job.MakeDirPath((dst / "F").c_str()));
    EXPECT_TRUE(job.prompts.empty());
}

TEST(MakeDirPath, DoubleByteNamesWhoseTrailByteIsABackslash) {
    TempDir dst("mk");
    // "誠" is D5 5C in code page 936: the folder must not be cut inside it.
    std::string path = dst / "誠信\\Quilm";
    ASSERT_EQ(std::string("誠"), std::string("\xD5\x5C"));
    ScriptedJob job;
    EXPECT_TRUE(job.MakeDirPath(path.c_str()));
    EXPECT_TRUE(FolderExists(path));
    EXPECT_TRUE(job.prompts.empty());
    // Nothing was made from the half-character prefix.
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dst / "*").c_str(), &data);
    int entries = 0;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") {
            ++entries;
            EXPECT_EQ(name, "誠信");
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    EXPECT_EQ(entries, 1);
}

TEST(MakeDirPath, PathsLongerThanMaxPathAreHandledSafely) {
    TempDir dst("mk");
    std::string path = dst.path();
    while (path.size() < 300) path += "长文件夹名称abcdefgh\\";
    path.pop_back();
    ASSERT_GT(path.size(), 259u);
    ScriptedJob job;
    job.answers = {IDCANCEL};
    BOOL made = job.MakeDirPath(path.c_str());
    // Either the system makes it, or the folder prompt offers Retry/Cancel.
    if (made) {
        EXPECT_TRUE(job.prompts.empty());
    } else {
        ASSERT_EQ(job.prompts.size(), 1u);
        EXPECT_EQ(job.prompts[0].type, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONQUESTION));
    }
    EXPECT_EQ(job.m_strRecord.str(), "Made Dir: " + path + "\n");
}

TEST(ListFiles, PlainFilesOnlyAndTheCurrentDirectoryComesBack) {
    TempDir dir("ls");
    EXPECT_TRUE(WriteBytes(dir / "a.ocx", "a"));
    EXPECT_TRUE(WriteBytes(dir / "b.txt", "b"));
    MakeFolders(dir / "c.ocx");
    std::string before = CurrentDirectory();
    CStringArray names;
    AfxListFiles(dir.path().c_str(), "*.ocx", names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], "a.ocx");
    EXPECT_EQ(CurrentDirectory(), before);
    // A folder that does not exist lists nothing, not the current folder.
    AfxListFiles((dir / "missing\\").c_str(), "*.*", names);
    EXPECT_EQ(names.GetSize(), 0);
}
