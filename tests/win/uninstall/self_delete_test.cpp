// Self-deletion for real: a program that runs the job's self-deletion is
// copied into a folder of a temporary install on C:, run, and must vanish
// with its folder and the batch once it has ended.
#include <gtest/gtest.h>

#include "framework/AfxSecurity.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"
#include "support/Process.h"

using namespace quilmtest;

namespace {

// Runs the probe as a script would, with args after its quoted path, from
// currentDir; its exit code.
DWORD RunProbe(const std::string& program, const std::string& currentDir,
               const std::string& args = "") {
    ChildProcess probe;
    if (!probe.Start(program, args, currentDir.c_str())) return 0xFFFFFFFF;
    return probe.ExitCode(60000);
}

}  // namespace

class SelfDeleteTest : public UninstallTest {};

// Folders whose names cmd would read as commands or variables if they
// were not quoted and escaped.
class SelfDeleteNamesTest : public UninstallTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(SelfDeleteNamesTest, RemovesTheRightProgramAndFolder) {
    const std::string name = GetParam();
    const std::string folder = m_dir + name;
    ASSERT_TRUE(MakeFolders(folder));
    // A decoy that an expanded "%x%" or a cut "&" would name instead.
    const std::string decoy = m_dir + "decoy";
    ASSERT_TRUE(MakeFolders(decoy));
    ASSERT_TRUE(WriteBytes(decoy + "\\Uninstall.exe", "keep"));
    std::string program = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    ::SetEnvironmentVariableA("x", "decoy");
    ::SetEnvironmentVariableA("y", "decoy");
    EXPECT_EQ(RunProbe(program, m_dir), 0u);
    ::SetEnvironmentVariableA("x", NULL);
    ::SetEnvironmentVariableA("y", NULL);
    EXPECT_TRUE(WaitSelfDeleted(folder)) << name;
    EXPECT_TRUE(FileExists(decoy + "\\Uninstall.exe"));
}

INSTANTIATE_TEST_SUITE_P(Cmd, SelfDeleteNamesTest,
                         ::testing::Values("百分 100%x%", "a&b", "c^d", "%y%&^!e", "e%%f"));

TEST_F(SelfDeleteTest, BatchAndFolderAreNewAndClosedToOrdinaryUsers) {
    const std::vector<std::string> before = BatchFolders();
    // What an ordinary user may have planted at the batch's old name.
    ASSERT_TRUE(WriteBytes("C:\\DelUS.bat", "rem planted\r\n"));
    const std::string batch = CUninstallThread::WriteSelfDeleteBatch(m_dir + "U.exe");
    ASSERT_FALSE(batch.empty());
    const std::string folder = batch.substr(0, batch.rfind('\\'));
    EXPECT_EQ(batch.substr(folder.size()), "\\DelUS.bat");
    EXPECT_EQ(BatchFolders().size(), before.size() + 1);
    for (const std::string& path : {folder, batch}) {
        DWORD attributes = ::GetFileAttributesA(path.c_str());
        EXPECT_FALSE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << path;
        EXPECT_FALSE(AfxUsersCanWrite(path.c_str()))
            << path << " " << AfxFileDaclSddl(path.c_str());
    }
    // Wine keeps no access list (docs/WINE-NOTES.md): the descriptor both
    // were made with is checked as built.
    CSecurityDescriptor made = AfxDescriptorFromSddl(CUninstallThread::SelfDeleteDacl());
    EXPECT_EQ(AfxDaclSddl(made),
              "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + AfxProcessUserSid() + ")");
    std::string planted;
    EXPECT_TRUE(ReadBytes("C:\\DelUS.bat", planted));
    EXPECT_EQ(planted, "rem planted\r\n");
    // A second run gets a folder of its own.
    const std::string second = CUninstallThread::WriteSelfDeleteBatch(m_dir + "U.exe");
    EXPECT_NE(second.substr(0, second.rfind('\\')), folder);
    for (const std::string& b : {batch, second}) {
        ::DeleteFileA(b.c_str());
        ::RemoveDirectoryA(b.substr(0, b.rfind('\\')).c_str());
    }
    ::DeleteFileA("C:\\DelUS.bat");
}

TEST_F(SelfDeleteTest, BatchRemovesProgramItsFolderAndItself) {
    ASSERT_TRUE(CurrentDriveIsC());
    // A folder with a blank and Chinese text, as an install folder may be.
    std::string folder = m_dir + "Program Files\\卸载 测试";
    ASSERT_TRUE(MakeFolders(folder));
    std::string program = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    // A file at the old batch's place is neither used nor touched.
    ASSERT_TRUE(WriteBytes("C:\\DelUS.bat", "rem stale\r\n"));

    EXPECT_EQ(RunProbe(program, m_dir), 0u);
    // The batch removed the program, its folder and itself (its own
    // folder too where cmd lets go of the batch between lines; Wine's cmd
    // holds it open to the end).
    EXPECT_TRUE(WaitSelfDeleted(folder)) << "left: " << (FileExists(program) ? program : "") << " "
                                         << (FolderExists(folder) ? folder : "");
    std::string stale;
    EXPECT_TRUE(ReadBytes("C:\\DelUS.bat", stale));
    EXPECT_EQ(stale, "rem stale\r\n");
    ::DeleteFileA("C:\\DelUS.bat");
    EXPECT_TRUE(FolderExists(m_dir + "Program Files")) << "only the program's own folder goes";
}

TEST_F(SelfDeleteTest, FolderWithOtherFilesStaysButBatchEnds) {
    std::string folder = m_dir + "kept";
    ASSERT_TRUE(MakeFolders(folder));
    std::string program = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder + "\\user.txt", "mine"));
    EXPECT_EQ(RunProbe(program, m_dir), 0u);
    EXPECT_TRUE(WaitSelfDeleted(program));
    EXPECT_TRUE(FileExists(folder + "\\user.txt"));
}

TEST_F(SelfDeleteTest, ReadOnlyProgramIsDeletedToo) {
    std::string folder = m_dir + "cd copy";
    ASSERT_TRUE(MakeFolders(folder));
    std::string program = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(::SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RunProbe(program, m_dir), 0u);
    EXPECT_TRUE(WaitSelfDeleted(folder));
}

TEST_F(SelfDeleteTest, GivesUpOnAProgramThatCanNeverBeDeletedAndLogsIt) {
    const std::string folder = m_dir + "held";
    ASSERT_TRUE(MakeFolders(folder));
    const std::string program = folder + "\\Uninstall.exe";
    const std::string log = m_dir + "百分 100%x%.log";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    // Open without delete sharing for the whole run: every "del" is denied.
    HANDLE held =
        ::CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunProbe(program, m_dir, "3 \"" + log + "\""), 0u);
    // Three tries about a second apart, then the batch ends for good.
    EXPECT_TRUE(WaitUntil([] { return !AnyBatchLeft(); }, 60000)) << "the batch never gave up";
    EXPECT_NE(ReadLog(log).find("self-deletion given up after 3 tries: the program could not be "
                                "deleted"),
              std::string::npos)
        << ReadLog(log);
    ::CloseHandle(held);
    EXPECT_TRUE(FileExists(program));
}
