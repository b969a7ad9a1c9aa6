// Self-deletion for real: a program that runs the job's self-deletion is
// copied into a folder of a temporary install on C:, run, and must vanish
// with its folder and the batch once it has ended.
#include <gtest/gtest.h>

#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

// Polls until none of the paths exists, for at most about a minute.
bool AllGone(const std::vector<std::string>& paths) {
    for (int i = 0; i < 600; ++i) {
        bool any = false;
        for (const std::string& p : paths)
            any = any || ::GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!any) return true;
        ::Sleep(100);
    }
    return false;
}

DWORD RunProbe(const std::string& program, const std::string& currentDir) {
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(program.c_str(), &command[0], NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL,
                          currentDir.c_str(), &startup, &process))
        return 0xFFFFFFFF;
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0xFFFFFFFE;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return code;
}

}  // namespace

class SelfDeleteTest : public UninstallTest {};

TEST_F(SelfDeleteTest, BatchRemovesProgramItsFolderAndItself) {
    ASSERT_TRUE(CurrentDriveIsC());
    // A folder with a blank and Chinese text, as an install folder may be.
    std::string folder = m_dir + "Program Files\\卸载 测试";
    ASSERT_TRUE(MakeFolders(folder));
    std::string program = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    // An earlier batch is overwritten, not appended to.
    ASSERT_TRUE(WriteBytes("C:\\DelUS.bat", "rem stale\r\n"));

    EXPECT_EQ(RunProbe(program, m_dir), 0u);
    EXPECT_TRUE(AllGone({program, folder, "C:\\DelUS.bat"}))
        << "left: " << (FileExists(program) ? program : "") << " "
        << (FolderExists(folder) ? folder : "") << " "
        << (FileExists("C:\\DelUS.bat") ? "C:\\DelUS.bat" : "");
    EXPECT_TRUE(FolderExists(m_dir + "Program Files")) << "only the program's own folder goes";
}

TEST_F(SelfDeleteTest, FolderWithOtherFilesStaysButBatchEnds) {
    std::string folder = m_dir + "kept";
    ASSERT_TRUE(MakeFolders(folder));
    std::string program = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder + "\\user.txt", "mine"));
    EXPECT_EQ(RunProbe(program, m_dir), 0u);
    EXPECT_TRUE(AllGone({program, "C:\\DelUS.bat"}));
    EXPECT_TRUE(FileExists(folder + "\\user.txt"));
}

TEST_F(SelfDeleteTest, ReadOnlyProgramIsDeletedToo) {
    std::string folder = m_dir + "cd copy";
    ASSERT_TRUE(MakeFolders(folder));
    std::string program = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_SELFDELETE_PROBE).c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(::SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RunProbe(program, m_dir), 0u);
    EXPECT_TRUE(AllGone({program, folder, "C:\\DelUS.bat"}));
}
