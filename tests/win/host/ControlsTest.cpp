// Control registration with the real test control library.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/Host.h"
#include "support/Jobs.h"
#include "setup/InstallSteps.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        m_guard.Guard(HKEY_CURRENT_USER, "Software\\QuilmTest");
        RemoveKeyTree(HKEY_CURRENT_USER, kControlNotes);
        m_job.m_strDestDir = m_dest.path().c_str();
        m_control = m_dest.path() + "Control\\";
        ASSERT_TRUE(CreateDirectoryA(m_control.c_str(), NULL));
    }
    KeyGuard m_guard;
    TempDir m_dest;
    std::string m_control;
    SetupJob m_job;
};

}  // namespace

TEST_F(Controls, RegisterControlReportsTheEntryPointsResult) {
    ASSERT_TRUE(CopyTestControl(m_control + "good.ocx"));
    ASSERT_TRUE(CopyTestControl(m_control + "WillFail.ocx"));
    ASSERT_TRUE(WriteBytes(m_control + "text.ocx", "not a library\r\n"));
    EXPECT_TRUE(RegisterControl((m_control + "good.ocx").c_str()));
    EXPECT_EQ("registered", ControlNote("good.ocx"));
    EXPECT_FALSE(RegisterControl((m_control + "WillFail.ocx").c_str()));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kControlNotes, "WillFail.ocx"));
    EXPECT_FALSE(RegisterControl((m_control + "text.ocx").c_str()));
    EXPECT_FALSE(RegisterControl((m_control + "missing.ocx").c_str()));
    // A library without the entry point.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_FALSE(RegisterControl((std::string(system) + "\\version.dll").c_str()));
    // The library is unloaded again: its file can be deleted.
    EXPECT_TRUE(DeleteFileA((m_control + "good.ocx").c_str()));
}

TEST_F(Controls, EveryOcxIsRecordedRegisteredOrNot) {
    ASSERT_TRUE(CopyTestControl(m_control + "good.ocx"));
    ASSERT_TRUE(CopyTestControl(m_control + "fail.ocx"));
    ASSERT_TRUE(WriteBytes(m_control + "broken.ocx", "plain text"));
    ASSERT_TRUE(CopyTestControl(m_control + "library.dll"));  // not a control name
    ASSERT_TRUE(CreateDirectoryA((m_control + "sub").c_str(), NULL));
    ASSERT_TRUE(CopyTestControl(m_control + "sub\\inner.ocx"));  // subfolders are not searched

    // In the order the system lists the folder's files, as the copy phase
    // records them.
    std::vector<std::string> expected;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((m_control + "*.ocx").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            expected.push_back("Reg Ctrl: " + m_control + found.cFileName);
        m_job.RecordFileCopy((m_control + found.cFileName).c_str());
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    for (const char* name : {"library.dll", "sub\\inner.ocx"})
        m_job.RecordFileCopy((m_control + name).c_str());
    const size_t copied = m_job.m_strRecord.str().size();
    m_job.RegisterControls();

    std::vector<std::string> lines = CrLfLines(m_job.m_strRecord.str().substr(copied));
    EXPECT_EQ(expected, lines);
    std::vector<std::string> sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<std::string>{"Reg Ctrl: " + m_control + "broken.ocx",
                                        "Reg Ctrl: " + m_control + "fail.ocx",
                                        "Reg Ctrl: " + m_control + "good.ocx"}),
              sorted);
    EXPECT_EQ("registered", ControlNote("good.ocx"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kControlNotes, "fail.ocx"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kControlNotes, "library.dll"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kControlNotes, "inner.ocx"));
    EXPECT_EQ(0, static_cast<int>(m_job.prompts.size()));
}

TEST_F(Controls, NoControlsNoEntries) {
    ASSERT_TRUE(WriteBytes(m_control + "readme.txt", "x"));
    m_job.RegisterControls();
    EXPECT_TRUE(m_job.m_strRecord.IsEmpty());
}

TEST_F(Controls, MissingControlFolderNoEntries) {
    RemoveDirectoryA(m_control.c_str());
    m_job.RegisterControls();
    EXPECT_TRUE(m_job.m_strRecord.IsEmpty());
}
