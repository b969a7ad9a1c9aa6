// Removal through handles: a folder swapped for a link after the scope
// check is not followed, and a control that ordinary users could have
// replaced is deleted without being loaded.
#include <gtest/gtest.h>

#include "framework/AfxRemove.h"
#include "framework/AfxSecurity.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

class SecureRemovalTest : public UninstallTest {};

struct SwapCase {
    const char* entry;  // below the link, as recorded
    bool folder;
};

class SwappedFolderTest : public UninstallTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(SwappedFolderTest, LinkSwappedInAfterTheCheckIsNotFollowed) {
    const std::string base = m_dir + "inst";
    const std::string outside = m_dir + "outside";
    ASSERT_TRUE(MakeFolders(base + "\\sub\\inner"));
    ASSERT_TRUE(MakeFolders(outside + "\\inner"));
    ASSERT_TRUE(WriteBytes(base + "\\sub\\f.txt", "x"));
    ASSERT_TRUE(WriteBytes(outside + "\\f.txt", "not the installer's"));
    const std::string entry = base + "\\sub\\" + GetParam().entry;

    // The check sees plain folders; then "sub" becomes a link outside.
    ASSERT_FALSE(::GetFileAttributesA((base + "\\sub").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    ASSERT_TRUE(RemoveTree(base + "\\sub"));
    ASSERT_TRUE(MakeHostLink(base + "\\sub", outside));

    EXPECT_FALSE(CUninstallThread::RemoveBelow(base, entry, GetParam().folder));
    EXPECT_TRUE(FileExists(outside + "\\f.txt"));
    EXPECT_TRUE(FolderExists(outside + "\\inner"));
    EXPECT_TRUE(RemoveHostLink(base + "\\sub"));
}

INSTANTIATE_TEST_SUITE_P(Entries, SwappedFolderTest,
                         ::testing::Values(SwapCase{"f.txt", false}, SwapCase{"inner", true}));

// The checks are paid once per folder: a link swapped in for the folder
// after it was opened is not followed, and a link inside is not removed.
TEST_F(SecureRemovalTest, LinkSwappedInAfterTheFolderWasOpenedIsNotFollowed) {
    const std::string base = m_dir + "inst", outside = m_dir + "outside";
    ASSERT_TRUE(MakeFolders(base + "\\sub") && MakeFolders(outside));
    ASSERT_TRUE(WriteBytes(base + "\\sub\\f.txt", "x"));
    ASSERT_TRUE(WriteBytes(outside + "\\f.txt", "not the installer's"));
    ASSERT_TRUE(MakeHostLink(base + "\\sub\\link", outside));
    CCheckedFolder folder;
    ASSERT_EQ(folder.Open(base, base + "\\sub"), 0u);
    ASSERT_TRUE(::MoveFileA((base + "\\sub").c_str(), (base + "\\moved").c_str()));
    ASSERT_TRUE(MakeHostLink(base + "\\sub", outside));
    EXPECT_EQ(folder.Remove("f.txt", false), 0u);
    EXPECT_EQ(folder.Remove("link", false), static_cast<DWORD>(ERROR_CANT_ACCESS_FILE));
    folder.Close();
    // Windows deletes the checked folder's own file, now "moved\f.txt";
    // Wine keeps it (docs/WINE-NOTES.md).  Neither follows the link.
    EXPECT_TRUE(FileExists(outside + "\\f.txt"));
    EXPECT_TRUE(RemoveHostLink(base + "\\sub"));
}

TEST_F(SecureRemovalTest, RemovesPlainEntriesInsideTheScope) {
    const std::string base = m_dir + "inst";
    ASSERT_TRUE(MakeFolders(base + "\\sub\\empty"));
    ASSERT_TRUE(WriteBytes(base + "\\sub\\f.txt", "x"));
    EXPECT_TRUE(CUninstallThread::RemoveBelow(base, base + "\\sub\\f.txt", false));
    EXPECT_FALSE(FileExists(base + "\\sub\\f.txt"));
    EXPECT_TRUE(CUninstallThread::RemoveBelow(base, base + "\\sub\\empty", true));
    EXPECT_FALSE(FolderExists(base + "\\sub\\empty"));
    // Not there counts as gone; a folder with something in it stays.
    EXPECT_TRUE(CUninstallThread::RemoveBelow(base, base + "\\sub\\f.txt", false));
    ASSERT_TRUE(WriteBytes(base + "\\sub\\g.txt", "x"));
    EXPECT_FALSE(CUninstallThread::RemoveBelow(base, base + "\\sub", true));
    EXPECT_TRUE(FileExists(base + "\\sub\\g.txt"));
    // A path outside the scope folder is never removed.
    EXPECT_FALSE(
        CUninstallThread::RemoveBelow(base + "\\sub", base + "\\sub\\..\\other.txt", false) &&
        FileExists(base + "\\other.txt"));
}

#ifdef QUILM_TEST_CONTROL
TEST_F(SecureRemovalTest, ControlInFolderUsersCanWriteIsDeletedNotLoaded) {
    const std::string base = m_dir + "inst";
    const std::string control = base + "\\Control\\probe.ocx";
    ASSERT_TRUE(MakeFolders(base + "\\Control"));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_TEST_CONTROL).c_str(), control.c_str(), FALSE));
    EXPECT_FALSE(CUninstallThread::UsersCanChange(base, control));
    // Everyone may change the control's folder.
    ASSERT_EQ(AfxSetProtectedDacl((base + "\\Control").c_str(), "D:P(A;OICI;FA;;;WD)"), 0u);
    EXPECT_TRUE(CUninstallThread::UsersCanChange(base, control));

    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, kControlNotes, "probe.ocx", "registered"));
    OwnerWindow owner;
    UninstallJob job;
    job.m_strRecordFolder = CString((base + "\\").c_str());
    job.m_strRecord = CString(("Reg Ctrl: " + control + "\n").c_str());
    RunJob(job, owner);
    EXPECT_FALSE(FileExists(control));
    EXPECT_EQ(ControlNote("probe.ocx"), "registered") << "the control was loaded";
}
#endif
