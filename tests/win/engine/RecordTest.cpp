// The install record on disk, folder creation, and the real prompt box.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/install_log.h"
#include "common/text_mode.h"
#include "support/Boxes.h"
#include "support/Jobs.h"

using namespace quilmtest;

class Record : public SetupJobTest {
protected:
    std::string RecordPath() const { return dst / "Uninstall.log"; }
};
using Prompt = Record;
using MakeDirPath = Record;

TEST_F(Record, WrittenWithCrLfHiddenAndListingItselfLast) {
    Run();
    ASSERT_EQ(Done(), 1);
    // Each package folder in the copy order, made and then its file; then
    // the root files but Setup.exe, in the order the medium lists them;
    // the record itself last.  Every line ends with CR LF.
    std::string expected;
    for (const char* folder : kPackageFolders)
        expected += "Made Dir: " + dst / folder + "\r\nFile Copy: " + dst / folder + "\\" + folder +
                    ".dat\r\n";
    const std::string bytes = ReadBytes(RecordPath());
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);
    std::vector<std::string> rest = CrLfLines(bytes.substr(expected.size()));
    ASSERT_EQ(rest.size(), 3u) << bytes;
    EXPECT_EQ(rest.back(), "File Copy: " + dst / "Uninstall.log");
    rest.pop_back();
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, (std::vector<std::string>{"File Copy: " + dst / "Quilm.exe",
                                              "File Copy: " + dst / "readme.txt"}));
    ExpectWellFormedRecord(dst.path());
    EXPECT_TRUE(ExactlyHidden(RecordPath())) << Attributes(RecordPath());
}

TEST_F(Record, SecondInstallReplacesTheRecord) {
    EXPECT_TRUE(WriteBytes(src / "Temp\\only-first.dat", "1"));
    {
        OwnerWindow firstOwner;
        SetupJob first;
        first.copyOnly = true;
        RunJob(first, firstOwner, src.path(), dst.path());
        ASSERT_EQ(firstOwner.Count(WM_SETUP_DONE), 1);
    }
    DeleteFileA((src / "Temp\\only-first.dat").c_str());
    Run();
    ASSERT_EQ(Done(), 1);

    std::string text = ReadBytes(RecordPath());
    EXPECT_EQ(text.find("only-first.dat"), std::string::npos);
    size_t first = text.find("File Copy: " + RecordPath());
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("File Copy: " + RecordPath(), first + 1), std::string::npos);
    EXPECT_TRUE(ExactlyHidden(RecordPath())) << Attributes(RecordPath());
}

TEST_F(Record, UnwritableRecordReportsTheFileErrorAndStillFinishes) {
    MakeFolders(RecordPath());  // a folder where the record must go
    Run();
    EXPECT_EQ(Done(), 1);
    ASSERT_EQ(job.fileErrors.size(), 1u);
    EXPECT_NE(job.fileErrors[0].find(RecordPath()), std::string::npos) << job.fileErrors[0];
    EXPECT_TRUE(FolderExists(RecordPath()));
}

TEST_F(Record, RealFileErrorBoxIsOwnedByThePageAndClosedWithOk) {
    MakeFolders(RecordPath());
    job.realBoxes = true;
    BoxAnswerer boxes(IDOK);
    Run();
    std::vector<BoxSeen> seen = boxes.Seen();
    EXPECT_EQ(Done(), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, AfxGetAppName());
    EXPECT_NE(seen[0].text.find(RecordPath()), std::string::npos) << seen[0].text;
    EXPECT_EQ(seen[0].owner, owner.hwnd());
}

TEST_F(Prompt, RealMissingFolderBoxAnsweredIgnoreFromAnotherThread) {
    RemoveTree(src / "图框");
    job.realBoxes = true;
    BoxAnswerer boxes(IDIGNORE);
    Run();
    std::vector<BoxSeen> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, AfxGetAppName());
    EXPECT_EQ(seen[0].owner, owner.hwnd());
    EXPECT_NE(seen[0].text.find("找不到安装文件的路径 " + src / "图框\\"), std::string::npos)
        << seen[0].text;
    EXPECT_EQ(Done(), 1);
    EXPECT_TRUE(FolderExists(dst / "图框"));
}

TEST_F(MakeDirPath, CreatesEachMissingFolderAndRecordsOnlyTheFullPath) {
    for (const std::string& path : {dst / "A\\B", dst / "C\\D\\"}) {
        job.m_strRecord.Empty();
        EXPECT_TRUE(job.MakeDirPath(path.c_str()));
        EXPECT_TRUE(FolderExists(path));
        EXPECT_EQ(job.m_strRecord.str(), "Made Dir: " + path + "\n");
    }
    job.m_strRecord.Empty();
    EXPECT_TRUE(job.MakeDirPath(""));
    EXPECT_EQ(job.m_strRecord.str(), "Made Dir: \n");

    // A file where the folder should be is no folder: the folder prompt,
    // and FALSE once it is cancelled.  No prompt before it.
    EXPECT_TRUE(job.prompts.empty());
    EXPECT_TRUE(WriteBytes(dst / "F", "file"));
    job.answers = {IDCANCEL};
    EXPECT_FALSE(job.MakeDirPath((dst / "F").c_str()));
    ASSERT_EQ(job.prompts.size(), 1u);
    EXPECT_NE(job.prompts[0].text.find("不能创建文件夹 " + dst / "F" + " ，"), std::string::npos)
        << job.prompts[0].text;
    EXPECT_TRUE(FileExists(dst / "F"));
}

TEST_F(MakeDirPath, DoubleByteNamesWhoseTrailByteIsABackslash) {
    // "誠" is D5 5C in code page 936: the folder must not be cut inside it.
    std::string path = dst / "誠信\\Quilm";
    ASSERT_EQ(std::string("誠"), std::string("\xD5\x5C"));
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

// Characters of a path in code page 936.
static int Characters(const std::string& path) {
    return ::MultiByteToWideChar(936, 0, path.data(), static_cast<int>(path.size()), NULL, 0);
}

TEST_F(MakeDirPath, PathsLongerThanMaxPathAreHandledSafely) {
    // Over MAX_PATH bytes in double-byte names, but some 220 characters:
    // the system makes it, nothing is asked.
    std::string path = dst.path();
    while (path.size() < 300) path += "长文件夹名称abcdefgh\\";
    path.pop_back();
    ASSERT_GT(path.size(), 259u);
    ASSERT_LT(Characters(path), 240);
    EXPECT_TRUE(job.MakeDirPath(path.c_str()));
    EXPECT_TRUE(job.prompts.empty());
    EXPECT_TRUE(ExistsAnyLength(path));
    EXPECT_EQ(job.m_strRecord.str(), "Made Dir: " + path + "\n");

    // Over 300 characters: the folders up to the system's limit are made,
    // the first one beyond it is named in the folder prompt, and Cancel
    // there ends the walk.
    std::string longer = path;
    while (Characters(longer) <= 300) longer += "\\长文件夹名称abcdefgh";
    job.answers = {IDCANCEL};
    EXPECT_FALSE(job.MakeDirPath(longer.c_str()));
    ASSERT_EQ(job.prompts.size(), 1u);
    EXPECT_EQ(job.prompts[0].type, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONQUESTION));
    // The first folder of the path that is not there.
    std::string refused = longer;
    for (size_t at = longer.find('\\', path.size() + 1); at != std::string::npos;
         at = longer.find('\\', at + 1)) {
        if (!ExistsAnyLength(longer.substr(0, at))) {
            refused = longer.substr(0, at);
            break;
        }
    }
    EXPECT_FALSE(ExistsAnyLength(refused));
    ASSERT_FALSE(refused.empty());
    EXPECT_NE(job.prompts[0].text.find(refused), std::string::npos) << job.prompts[0].text;
    EXPECT_EQ(job.m_strRecord.str(), "Made Dir: " + path + "\nMade Dir: " + longer + "\n");
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
