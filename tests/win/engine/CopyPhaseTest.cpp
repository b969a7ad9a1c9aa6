// The copy phase of the install job against real folders: progress
// messages, prompts and their answers, cancel, attributes.
#include <gtest/gtest.h>

#include "common/install_log.h"
#include "support/Jobs.h"

using namespace quilmtest;

namespace {

bool HasLine(const std::string& record, const std::string& line) {
    for (const std::string& l : Lines(record))
        if (l == line) return true;
    return false;
}

}  // namespace

using CopyPhase = SetupJobTest;

TEST_F(CopyPhase, OneProgressMessagePerEntrySubfolderAfterItsFiles) {
    // Support: 3 files and one subfolder with 2 more files -> 6 messages.
    std::string support = src / "Support\\";
    RemoveTree(support);
    MakeFolders(support + "sub");
    for (const char* f : {"a.arx", "b.lsp", "c.mnu"}) EXPECT_TRUE(WriteBytes(support + f, f));
    for (const char* f : {"x.dat", "y.dat"}) EXPECT_TRUE(WriteBytes(support + "sub\\" + f, f));
    // An empty top folder and an empty nested folder.
    RemoveTree(src / "Temp");
    MakeFolders(src / "Temp");
    MakeFolders(src / "图库\\空");

    Run();

    ASSERT_EQ(Failed(), 0);
    ASSERT_EQ(Done(), 1);
    EXPECT_EQ(owner.Count(WM_SETUP_CONFIGURING), 1);
    const std::vector<JobMessage> progress = Progress();
    std::vector<std::string> supportMsgs;
    for (const auto& p : progress)
        if (p.path.find(dst / "Support\\") == 0) supportMsgs.push_back(p.path);
    ASSERT_EQ(supportMsgs.size(), 6u);
    // The subfolder's message comes after both of its files.
    size_t subAt = 0, files = 0;
    for (size_t i = 0; i < supportMsgs.size(); ++i) {
        if (supportMsgs[i] == dst / "Support\\sub") subAt = i;
        if (supportMsgs[i].find(dst / "Support\\sub\\") == 0) {
            EXPECT_EQ(subAt, 0u) << "file of sub reported after sub";
            ++files;
        }
    }
    EXPECT_EQ(files, 2u);
    EXPECT_GT(subAt, 0u);
    // Six for Support, one file each for seven other folders, one file and
    // one empty subfolder in 图库, nothing for Temp, the top folders or the
    // root files.
    EXPECT_EQ(progress.size(), 6u + 7u + 1u);
    for (const auto& p : progress) {
        EXPECT_NE(p.path, dst / "Temp");
        EXPECT_EQ(p.path.find(dst / "Quilm.exe"), std::string::npos);
        // Source and destination name the same entry.
        EXPECT_EQ(p.source.substr(src.path().size()), p.path.substr(dst.path().size()));
    }
    EXPECT_TRUE(FolderExists(dst / "Temp"));
    EXPECT_TRUE(FolderExists(dst / "图库\\空"));
    EXPECT_EQ(ReadBytes(dst / "Support\\sub\\y.dat"), "y.dat");

    // The record: every top folder and the empty folders are "Made Dir: ".
    const std::string record = job.m_strRecord.str();
    EXPECT_TRUE(HasLine(record, "Made Dir: " + dst / "Temp"));
    EXPECT_TRUE(HasLine(record, "Made Dir: " + dst / "图库\\空"));
    EXPECT_TRUE(HasLine(record, "Made Dir: " + dst / "Support\\sub"));
    // Folder entries come before the entries inside them.
    EXPECT_LT(record.find("Made Dir: " + dst / "Support\\sub\n"),
              record.find("File Copy: " + dst / "Support\\sub\\x.dat"));
    EXPECT_EQ(record.find("Setup.exe"), std::string::npos);
}

TEST_F(CopyPhase, RootFilesSkipSetupInAnyCaseAndHideTheIcon) {
    DeleteFileA((src / "Setup.exe").c_str());
    EXPECT_TRUE(WriteBytes(src / "SETUP.EXE", "installer"));
    EXPECT_TRUE(WriteBytes(src / "QuilmV8.5.ico", "icon"));
    SetFileAttributesA((src / "QuilmV8.5.ico").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(WriteBytes(src / "Quilm.url", "[InternetShortcut]"));

    Run();
    SetFileAttributesA((src / "QuilmV8.5.ico").c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(Exists(dst / "SETUP.EXE"));
    EXPECT_EQ(job.m_strRecord.str().find("SETUP.EXE"), std::string::npos);
    EXPECT_TRUE(ExactlyHidden(dst / "QuilmV8.5.ico")) << Attributes(dst / "QuilmV8.5.ico");
    EXPECT_EQ(ReadBytes(dst / "Quilm.url"), "[InternetShortcut]");
    EXPECT_TRUE(HasLine(job.m_strRecord.str(), "File Copy: " + dst / "QuilmV8.5.ico"));
}

TEST_F(CopyPhase, TargetsHeldWithoutSharingAreStagedForTheRestartAndRecorded) {
    // Targets held open without sharing by another program: the new files
    // wait beside them for the restart.
    MakeFolders(dst / "Database");
    EXPECT_TRUE(WriteBytes(dst / "Database\\Database.dat", "old"));
    EXPECT_TRUE(WriteBytes(dst / "Quilm.exe", "old program"));
    HANDLE treeLock = OpenWithoutSharing(dst / "Database\\Database.dat");
    HANDLE rootLock = OpenWithoutSharing(dst / "Quilm.exe");
    ASSERT_NE(treeLock, INVALID_HANDLE_VALUE);
    ASSERT_NE(rootLock, INVALID_HANDLE_VALUE);
    // A read-only file on the medium arrives writable.
    SetFileAttributesA((src / "图框\\图框.dat").c_str(), FILE_ATTRIBUTE_READONLY);

    Run();
    CloseHandle(treeLock);
    CloseHandle(rootLock);
    SetFileAttributesA((src / "图框\\图框.dat").c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string record = job.m_strRecord.str();
    EXPECT_EQ(ReadBytes(dst / "Database\\Database.dat"), "old");
    EXPECT_TRUE(HasLine(record, "File Copy: " + dst / "Database\\Database.dat"));
    EXPECT_EQ(ReadBytes(dst / "Database\\Database.dat.~1"),
              ReadBytes(src / "Database\\Database.dat"));
    EXPECT_EQ(job.m_atRestart,
              (std::vector<std::string>{dst / "Database\\Database.dat", dst / "Quilm.exe"}));
    bool reported = false;
    for (const auto& p : Progress()) reported |= p.path == dst / "Database\\Database.dat";
    EXPECT_TRUE(reported) << "a staged copy gets its progress message";
    EXPECT_EQ(ReadBytes(dst / "Quilm.exe"), "old program");
    EXPECT_TRUE(HasLine(record, "File Copy: " + dst / "Quilm.exe"));
    EXPECT_EQ(Attributes(dst / "图框\\图框.dat") & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(Done(), 1);
}

TEST_F(CopyPhase, MissingFolderRetryThenFound) {
    RemoveTree(src / "Database");

    // Answer Retry after putting the folder back, as a user would after
    // inserting the right medium.
    class RetryJob : public SetupJob {
    public:
        std::string folder;
        int Prompt(const CString& text, UINT type) override {
            int answer = SetupJob::Prompt(text, type);
            MakeFolders(folder);
            EXPECT_TRUE(WriteBytes(folder + "\\late.dat", "late"));
            return answer;
        }
    } retry;
    retry.copyOnly = true;
    retry.folder = src / "Database";
    retry.answers = {IDRETRY};
    RunJob(retry, owner, src.path(), dst.path());

    ASSERT_EQ(retry.prompts.size(), 1u);
    EXPECT_EQ(retry.prompts[0].type, static_cast<UINT>(MB_ABORTRETRYIGNORE | MB_ICONQUESTION));
    const std::string& text = retry.prompts[0].text;
    EXPECT_NE(text.find("\n找不到安装文件的路径 " + src / "Database\\" + "，\n点击“重试”按钮"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("点击“取消”按钮将终止程序运行。"), std::string::npos);
    EXPECT_GT(text.find('\n'), 0u) << "the system's error text comes first";
    EXPECT_EQ(Done(), 1);
    EXPECT_EQ(ReadBytes(dst / "Database\\late.dat"), "late");
}

TEST_F(CopyPhase, MissingFolderIgnoredCreatesAndRecordsTheDestination) {
    RemoveTree(src / "Database");

    job.answers = {IDIGNORE};
    Run();

    EXPECT_EQ(Done(), 1);
    EXPECT_EQ(Failed(), 0);
    EXPECT_TRUE(FolderExists(dst / "Database"));
    EXPECT_TRUE(HasLine(job.m_strRecord.str(), "Made Dir: " + dst / "Database"));
    for (const auto& p : Progress()) EXPECT_NE(p.path.find(dst / "Database"), 0u) << p.path;
    EXPECT_TRUE(Exists(dst / "图库\\图库.dat")) << "later folders still copied";
    EXPECT_TRUE(Exists(dst / "Uninstall.log"));
}

TEST_F(CopyPhase, MissingFolderAbortStopsBeforeLaterFoldersAndRecord) {
    RemoveTree(src / "Database");

    job.answers = {IDABORT};
    Run();

    EXPECT_EQ(Failed(), 1);
    EXPECT_EQ(Done(), 0);
    EXPECT_EQ(owner.Count(WM_SETUP_CONFIGURING), 0);
    // What was copied is undone, each file and the two folders a step.
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(Exists(dst / kPackageFolders[i]));
    EXPECT_EQ(owner.Count(WM_SETUP_UNDOING), 1);
    EXPECT_EQ(owner.Count(WM_SETUP_UNDO_STEP), static_cast<int>(Progress().size()) + 2);
    EXPECT_FALSE(Exists(dst / "Quilm.exe"));
    EXPECT_FALSE(Exists(dst / "Uninstall.log"));
}

TEST_F(CopyPhase, FolderPromptCancelStopsTheJob) {
    MakeFolders(src / "Database\\sub");
    EXPECT_TRUE(WriteBytes(src / "Database\\sub\\s.dat", "s"));
    // A file where the third folder must go: it is no folder, and one
    // can't be created there.
    EXPECT_TRUE(WriteBytes(dst / "Database", "I am a file"));

    job.answers = {IDRETRY, IDCANCEL};
    Run();

    ASSERT_EQ(job.prompts.size(), 2u) << "Retry tries again and asks again";
    EXPECT_EQ(job.prompts[1].type, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONQUESTION));
    EXPECT_NE(job.prompts[1].text.find("\n不能创建文件夹 " + dst / "Database" + " ，\n"),
              std::string::npos)
        << job.prompts[1].text;
    EXPECT_EQ(Failed(), 1);
    EXPECT_FALSE(Exists(dst / kPackageFolders[3]));
    EXPECT_FALSE(Exists(dst / "Uninstall.log"));
}

TEST_F(CopyPhase, CancelInADeepTreeStopsAfterTheCurrentEntry) {
    std::string deep = src / "图库\\a\\b\\c\\d";
    MakeFolders(deep);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(WriteBytes(deep + "\\f" + std::to_string(i) + ".dat", "x"));

    size_t at = 0;
    owner.onMessage = [&](const JobMessage& m) {
        if (at == 0 && m.path.find("\\d\\f") != std::string::npos) {
            at = owner.Count(WM_SETUP_PROGRESS);
            job.Stop();
        }
    };
    Run();

    ASSERT_GT(at, 0u);
    EXPECT_EQ(Progress().size(), at) << "no message after the cancelled entry";
    EXPECT_EQ(Failed(), 1);
    EXPECT_EQ(Done(), 0);
    EXPECT_FALSE(Exists(dst / "Temp"));
    EXPECT_FALSE(Exists(dst / "Uninstall.log"));
}
