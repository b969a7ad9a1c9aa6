// The uninstall job on records written by hand: reading, the order and
// delivery of its messages, each pass, and records that are damaged.
#include <gtest/gtest.h>

#include <random>

#include "common/install_log.h"
#include "uninstall/UninstallMessages.h"
#include "support/Boxes.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

std::string ExpectedBatch(const std::string& program, const std::string& batch) {
    std::string folder = program.substr(0, program.rfind('\\'));
    return "@echo off\r\nsetlocal DisableDelayedExpansion\r\nset /a tries=0\r\n:Repeat\r\ndel \"" +
           program + "\"\r\ndel \"Filedelr.avi\"\r\nif not exist \"" + program +
           "\" goto Removed\r\nset /a tries+=1\r\nif %tries% geq 600 goto GiveUp\r\n"
           "\"C:\\windows\\system32\\PING.EXE\" -n 2 127.0.0.1 >nul\r\ngoto Repeat\r\n:GiveUp\r\n"
           "goto End\r\n:Removed\r\nrmdir \"" +
           folder + "\"\r\n:End\r\ncd /d \"C:\\windows\\system32\"\r\n(del \"" + batch +
           "\") & rmdir \"" + batch.substr(0, batch.rfind('\\')) + "\"\r\n";
}

}  // namespace

// The job, its owner and a record loaded through a file, the way the
// dialog loads it.
class JobTest : public UninstallTest {
protected:
    void Load(const std::string& text) {
        std::string path = m_dir + "Uninstall.log";
        ASSERT_TRUE(WriteBytes(path, text));
        ASSERT_TRUE(job.LoadRecord(path.c_str()));
    }
    void Run() { RunJob(job, owner); }

    OwnerWindow owner;
    UninstallJob job;
};

TEST_F(JobTest, LoadRecordReadsTextModeAndReaderFindsEntries) {
    Load("File Copy: C:\\a.txt\r\nMade Dir: C:\\d\r\nFile Copy: C:\\b.txt\r\n");
    EXPECT_EQ(job.m_strRecord.str(),
              "File Copy: C:\\a.txt\nMade Dir: C:\\d\nFile Copy: C:\\b.txt\n");
    EXPECT_EQ(job.CountEntries(kFileCopy), 2);
    EXPECT_EQ(job.CountEntries(kMadeDir), 1);
    EXPECT_EQ(job.CountEntries(kRegDbKey), 0);
    size_t pos = 0, start = 0, length = 0;
    ASSERT_TRUE(job.FindEntry(kFileCopy, pos, start, length));
    EXPECT_EQ(job.m_strRecord.str().substr(start, length), "C:\\a.txt");
    ASSERT_TRUE(job.FindEntry(kFileCopy, pos, start, length));
    EXPECT_EQ(job.m_strRecord.str().substr(start, length), "C:\\b.txt");
    EXPECT_FALSE(job.FindEntry(kFileCopy, pos, start, length));
}

TEST_F(JobTest, MissingRecordShowsFileErrorAndPostsFailed) {
    job.SetOwner(owner.hwnd());
    std::string path = m_dir + "Uninstall.log";
    std::vector<BoxSeen> seen;
    {
        BoxAnswerer boxes(IDOK);
        EXPECT_FALSE(job.LoadRecord(path.c_str()));
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, AfxGetAppName());
    EXPECT_NE(seen[0].text.find(path), std::string::npos) << seen[0].text;
    EXPECT_TRUE(job.m_strRecord.IsEmpty());
    EXPECT_TRUE(owner.log.empty()) << "the failure is posted, not sent";
    PumpMessages();
    ASSERT_EQ(owner.log.size(), 1u);
    EXPECT_EQ(owner.log[0].message, static_cast<UINT>(WM_UNINSTALL_FAILED));
    EXPECT_FALSE(owner.log[0].sent);
}

TEST_F(JobTest, RunsEveryPassInOrderWithSentMessages) {
    std::string d = m_dir + "d", e = d + "\\e";
    ASSERT_TRUE(MakeFolders(e));
    ASSERT_TRUE(WriteBytes(d + "\\f1.txt", "1"));
    ASSERT_TRUE(WriteBytes(e + "\\f2.txt", "2"));
    const std::string key = std::string(kProductKey) + "\\Job";
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, key, "v", "x"));
    std::string record = "Made Dir: " + d + "\nFile Copy: " + d + "\\f1.txt\nMade Dir: " + e +
                         "\nFile Copy: " + e + "\\f2.txt\nFile Copy: " + m_dir +
                         "missing.txt\nRegDB Key: 2," + key + "\n";

    Load(record);
    std::vector<std::string> problems;
    owner.onMessage = [&](const JobMessage& m) {
        if (m.message == WM_UNINSTALL_PROGRESS && FileExists(m.path))
            problems.push_back("progress before delete: " + m.path);
        if (m.message == WM_UNINSTALL_FILES_DONE) {
            if (!FolderExists(e)) problems.push_back("folders removed before the file pass ended");
            if (!KeyExists(HKEY_LOCAL_MACHINE, key)) problems.push_back("key deleted too early");
        }
        if (m.message == WM_UNINSTALL_DONE) {
            if (FolderExists(d) || FolderExists(e)) problems.push_back("folders left at DONE");
            if (KeyExists(HKEY_LOCAL_MACHINE, key)) problems.push_back("key left at DONE");
            if (KeyExists(HKEY_LOCAL_MACHINE, kV9Key)) problems.push_back("V9 key left at DONE");
            if (!FileExists(BatchPathOf(UninstallJob::s_batchCommand)))
                problems.push_back("no batch at DONE");
        }
    };
    Run();
    EXPECT_TRUE(problems.empty()) << problems.front();

    ASSERT_EQ(owner.log.size(), 5u);
    EXPECT_EQ(owner.log[0].path, d + "\\f1.txt");
    EXPECT_EQ(owner.log[1].path, e + "\\f2.txt");
    EXPECT_EQ(owner.log[2].path, m_dir + "missing.txt") << "a missing file is still reported";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(owner.log[i].message, static_cast<UINT>(WM_UNINSTALL_PROGRESS));
    EXPECT_EQ(owner.log[3].message, static_cast<UINT>(WM_UNINSTALL_FILES_DONE));
    EXPECT_EQ(owner.log[4].message, static_cast<UINT>(WM_UNINSTALL_DONE));
    for (const JobMessage& m : owner.log) EXPECT_TRUE(m.sent);

    EXPECT_EQ(UninstallJob::s_batchStarts, 1);
    // cmd by its full path, the batch quoted, in a folder of its own in
    // the temporary folder.
    char system[MAX_PATH], temp[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    ::GetTempPathA(MAX_PATH, temp);
    const std::string batch = BatchPathOf(UninstallJob::s_batchCommand);
    EXPECT_EQ(UninstallJob::s_batchCommand,
              "\"" + std::string(system) + "\\cmd.exe\" /d /v:off /c \"\"" + batch + "\"\"");
    EXPECT_EQ(batch.substr(0, strlen(temp)), temp);
    EXPECT_EQ(batch.substr(batch.size() - 10), "\\DelUS.bat");
    EXPECT_EQ(TakeBatch(), ExpectedBatch(OwnProgramPath(), batch));
    EXPECT_TRUE(FolderExists(m_dir)) << "an unrecorded folder stays";
}

TEST_F(JobTest, FolderWithUserFileStaysWithItsParents) {
    std::string a = m_dir + "a", b = a + "\\b", c = a + "\\c";
    ASSERT_TRUE(MakeFolders(b));
    ASSERT_TRUE(MakeFolders(c));
    ASSERT_TRUE(WriteBytes(b + "\\mine.txt", "user"));
    Load("Made Dir: " + a + "\nMade Dir: " + b + "\nMade Dir: " + c + "\n");
    Run();
    EXPECT_TRUE(FileExists(b + "\\mine.txt"));
    EXPECT_TRUE(FolderExists(a));
    EXPECT_FALSE(FolderExists(c));
}

TEST_F(JobTest, KeyPassActsOnlyOnTheProductKeysUnderTheMachineRoot) {
    m_guards->Guard(HKEY_CLASSES_ROOT, "QuilmTest.UninstallRoot0");
    m_guards->Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\QuilmTest");
    m_guards->Guard(HKEY_USERS, ".DEFAULT\\Software\\QuilmTest");
    m_guards->Guard(HKEY_CURRENT_CONFIG, "Software\\QuilmTest");
    m_guards->Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
    const std::string product = kProductKey;
    struct Case {
        HKEY root;
        std::string path;
        bool removed;
    };
    const Case cases[] = {
        // The installer's own keys, and what lies below them.
        {HKEY_LOCAL_MACHINE, product + "\\Root2", true},
        {HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\Sub", true},
        // Any other root, or any other key of the machine, stays.
        {HKEY_CLASSES_ROOT, "QuilmTest.UninstallRoot0", false},
        {HKEY_CURRENT_USER, "Software\\QuilmTest\\Root1", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\QuilmTest\\Root2", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix\\Quilm\\Other", false},
        {HKEY_USERS, ".DEFAULT\\Software\\QuilmTest\\Root3", false},
        {HKEY_CURRENT_CONFIG, "Software\\QuilmTest\\Root4", false},
        {HKEY_CURRENT_CONFIG, "Software\\QuilmTest\\RootX", false},
        // Without a comma the entry names no root: nothing is deleted.
        {HKEY_CURRENT_USER, "Software\\QuilmTest\\NoComma", false},
        {HKEY_CURRENT_CONFIG, "Software\\QuilmTest\\NoComma", false},
        // A recorded key that has a subkey stays, with the subkey.
        {HKEY_LOCAL_MACHINE, product + "\\Parent\\Child", false},
    };
    for (const Case& c : cases) ASSERT_TRUE(SetValue(c.root, c.path, "v", "x")) << c.path;
    const std::vector<std::string> skipped = {"RegDB Key: 0,QuilmTest.UninstallRoot0",
                                              "RegDB Key: 1,Software\\QuilmTest\\Root1",
                                              "RegDB Key: 2,SOFTWARE\\QuilmTest\\Root2",
                                              "RegDB Key: 2,SOFTWARE\\Corvantix\\Quilm\\Other",
                                              "RegDB Key: 3,.DEFAULT\\Software\\QuilmTest\\Root3",
                                              "RegDB Key: 4,Software\\QuilmTest\\Root4",
                                              "RegDB Key: x,Software\\QuilmTest\\RootX",
                                              "RegDB Key: Software\\QuilmTest\\NoComma",
                                              "RegDB Key: 1,",
                                              "RegDB Key: 3," + product + "\\Root2"};
    std::string record = "RegDB Key: 2," + product + "\\Root2\n" + "RegDB Key: 2," + kUninstallKey +
                         "\\Sub\n" + "RegDB Key: 2," + product + "\\Parent\n";
    for (const std::string& line : skipped) record += line + "\n";
    Load(record);
    Run();
    for (const Case& c : cases) {
        EXPECT_EQ(KeyExists(c.root, c.path), !c.removed) << c.path;
    }
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, product + "\\Parent"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
    EXPECT_EQ(job.m_skipped, skipped);
    EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 1);
}

TEST_F(JobTest, RecordWithoutFileEntriesStillRunsEveryStep) {
    std::string d = m_dir + "only";
    ASSERT_TRUE(MakeFolders(d));
    const std::string key = std::string(kProductKey) + "\\NoFiles";
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, key, "v", "x"));
    Load("Made Dir: " + d + "\r\nRegDB Key: 2," + key + "\r\n");
    EXPECT_EQ(job.CountEntries(kFileCopy), 0);
    Run();
    EXPECT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), 0);
    EXPECT_EQ(owner.Count(WM_UNINSTALL_FILES_DONE), 1);
    EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 1);
    EXPECT_FALSE(FolderExists(d));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    EXPECT_EQ(UninstallJob::s_batchStarts, 1);
}

TEST_F(JobTest, ValueContainingAnotherPrefixIsSplitThere) {
    std::string sub = m_dir + "sub";
    ASSERT_TRUE(MakeFolders(sub));
    ASSERT_TRUE(WriteBytes(m_dir + "x", "keep"));
    std::string value = m_dir + "x Made Dir: " + sub;
    Load("File Copy: " + value + "\n");
    Run();
    ASSERT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), 1);
    EXPECT_EQ(owner.log[0].path, value);
    EXPECT_FALSE(FolderExists(sub)) << "the folder entry found inside the line is acted on";
    EXPECT_TRUE(FileExists(m_dir + "x"));
    EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 1);
}

TEST_F(JobTest, LastLineWithoutLineEndRunsToEndOfText) {
    ASSERT_TRUE(WriteBytes(m_dir + "first.txt", "1"));
    ASSERT_TRUE(WriteBytes(m_dir + "last.txt", "2"));
    Load("File Copy: " + m_dir + "first.txt\r\nFile Copy: " + m_dir + "last.txt");
    Run();
    ASSERT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), 2);
    EXPECT_EQ(owner.log[1].path, m_dir + "last.txt");
    EXPECT_FALSE(FileExists(m_dir + "first.txt"));
    EXPECT_FALSE(FileExists(m_dir + "last.txt"));
}

TEST_F(JobTest, GarbageBytesAroundEntriesDoNoHarm) {
    std::mt19937 random(936);
    std::string garbage;
    for (int i = 0; i < (1 << 20); ++i) garbage += static_cast<char>(random() & 0xFF);
    ASSERT_TRUE(WriteBytes(m_dir + "g.txt", "g"));
    ASSERT_TRUE(MakeFolders(m_dir + "gd"));
    // Garbage before, between and after, ending in a lone lead byte.
    std::string record = garbage + "\nFile Copy: " + m_dir + "g.txt\n" + garbage.substr(0, 5000) +
                         "\nMade Dir: " + m_dir + "gd\n" + garbage + "File Copy: \x81";
    Load(record);
    Run();
    EXPECT_FALSE(FileExists(m_dir + "g.txt"));
    EXPECT_FALSE(FolderExists(m_dir + "gd"));
    EXPECT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), job.CountEntries(kFileCopy));
    EXPECT_EQ(owner.Count(WM_UNINSTALL_FILES_DONE), 1);
    EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 1);
    EXPECT_EQ(UninstallJob::s_batchStarts, 1);
}

TEST_F(JobTest, FiftyMegabyteRecord) {
    std::string filler;
    std::string line(999, 'q');
    line += '\n';
    filler.reserve(50u << 20);
    while (filler.size() < (40u << 20)) filler += line;
    std::string longValue = m_dir + std::string(10u << 20, 'L');
    ASSERT_TRUE(WriteBytes(m_dir + "end.txt", "e"));
    ASSERT_TRUE(MakeFolders(m_dir + "enddir"));
    std::string record = filler + "File Copy: " + longValue + "\nFile Copy: " + m_dir +
                         "end.txt\nMade Dir: " + m_dir + "enddir\n";
    ASSERT_GE(record.size(), 50u << 20);
    Load(record);
    EXPECT_EQ(job.CountEntries(kFileCopy), 2);
    Run();
    ASSERT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), 2);
    EXPECT_EQ(owner.log[0].path.size(), longValue.size());
    EXPECT_FALSE(FileExists(m_dir + "end.txt"));
    EXPECT_FALSE(FolderExists(m_dir + "enddir"));
    EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 1);
}

TEST_F(JobTest, StopEndsTheJobBeforeItsNextEntry) {
    std::string d = m_dir + "stop";
    ASSERT_TRUE(MakeFolders(d));
    std::string record = "Made Dir: " + d + "\n";
    for (int i = 0; i < 3; ++i) {
        std::string f = d + "\\" + std::to_string(i) + ".txt";
        ASSERT_TRUE(WriteBytes(f, "x"));
        record += "File Copy: " + f + "\n";
    }
    Load(record);
    owner.onMessage = [&](const JobMessage& m) {
        if (m.message == WM_UNINSTALL_PROGRESS) job.Stop();
    };
    Run();
    EXPECT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), 1);
    EXPECT_EQ(owner.Count(WM_UNINSTALL_FILES_DONE), 0);
    EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 0);
    EXPECT_FALSE(FileExists(d + "\\0.txt"));
    EXPECT_TRUE(FileExists(d + "\\1.txt"));
    EXPECT_TRUE(FileExists(d + "\\2.txt"));
    EXPECT_EQ(UninstallJob::s_batchStarts, 0);
    EXPECT_EQ(TakeBatch(), "<missing>");
}

TEST_F(JobTest, DestroyingARunningJobWaitsForItsThread) {
    std::string record;
    for (int i = 0; i < 300; ++i) {
        std::string f = m_dir + std::to_string(i) + ".txt";
        ASSERT_TRUE(WriteBytes(f, "x"));
        record += "File Copy: " + f + "\n";
    }
    Load(record);
    UninstallJob* running = new UninstallJob;
    ASSERT_TRUE(running->LoadRecord((m_dir + "Uninstall.log").c_str()));
    ASSERT_TRUE(running->Start(owner.hwnd()));
    HANDLE thread = NULL;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), running->m_hThread, ::GetCurrentProcess(),
                                  &thread, SYNCHRONIZE, FALSE, 0));
    delete running;  // the worker may be waiting in a sent message right now
    EXPECT_EQ(::WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    ::CloseHandle(thread);
}

TEST_F(JobTest, UnregisterControlNeedsLoadableLibraryWithEntryPoint) {
    ASSERT_TRUE(WriteBytes(m_dir + "text.ocx", "not a library"));
    EXPECT_FALSE(CUninstallThread::UnregisterControl((m_dir + "text.ocx").c_str()));
    EXPECT_FALSE(CUninstallThread::UnregisterControl((m_dir + "missing.ocx").c_str()));
    // A real library without DllUnregisterServer.
    std::string noEntry = m_dir + "noentry.ocx";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_ODBC_FIXTURE).c_str(), noEntry.c_str(), FALSE));
    EXPECT_FALSE(CUninstallThread::UnregisterControl(noEntry.c_str()));
}

#ifdef QUILM_TEST_CONTROL
TEST_F(JobTest, ControlsAreUnregisteredThenDeleted) {
    std::string good = m_dir + "good.ocx", fail = m_dir + "fail.ocx";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_TEST_CONTROL).c_str(), good.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_TEST_CONTROL).c_str(), fail.c_str(), FALSE));
    EXPECT_TRUE(CUninstallThread::UnregisterControl(good.c_str()));
    EXPECT_EQ(ControlNote("good.ocx"), "unregistered");
    EXPECT_FALSE(CUninstallThread::UnregisterControl(fail.c_str()));
    SetValue(HKEY_CURRENT_USER, kControlNotes, "good.ocx", "registered");

    Load("Reg Ctrl: " + good + "\nReg Ctrl: " + fail + "\n");
    Run();
    EXPECT_EQ(ControlNote("good.ocx"), "unregistered");
    EXPECT_FALSE(FileExists(good));
    EXPECT_FALSE(FileExists(fail)) << "deleted whether or not unregistering succeeded";
}
#endif
