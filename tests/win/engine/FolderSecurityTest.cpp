// The install folder's access list before the copy phase: a folder Setup
// makes outside Program Files is closed to ordinary users (its "Temp"
// takes their own files), one under Program Files and one that existed are
// left as they are, and the log says which.  Wine keeps no access list
// (docs/WINE-NOTES.md): the lists are compared as SDDL as built, and what
// Wine reads back is checked for write rights of ordinary users.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "framework/AfxLog.h"
#include "framework/AfxSecurity.h"
#include "setup/InstallSteps.h"
#include "support/Process.h"
#include "support/TestSupport.h"

using namespace quilmtest;

TEST(FolderSecurity, ListsAreProgramFilesOwnAndTempOpenToUsers) {
    const struct {
        const char* sddl;
        const char* expected;
    } lists[] = {
        {kInstallFolderDacl, "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"},
        {kScratchFolderDacl,
         "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;FA;;;CO)(A;CI;0x100026;;;BU)"},
    };
    for (const auto& list : lists) {
        CSecurityDescriptor built = AfxDescriptorFromSddl(list.sddl);
        ASSERT_TRUE(built.IsValid()) << list.sddl;
        EXPECT_EQ(AfxDaclSddl(built), list.expected);
    }
}

enum Place { kOutside, kUnderProgramFiles, kExistingClosed, kExistingOpen };

struct FolderCase {
    Place place;
    InstallFolderState state;
    bool made;         // the folder and its "Temp" exist after the call
    const char* log;   // the line's start, the folder's path follows
    const char* tail;  // what follows the path
};

class InstallFolderTest : public ::testing::TestWithParam<FolderCase> {
protected:
    void TearDown() override {
        if (!m_programFiles.empty()) RemoveTree(m_programFiles);
    }
    std::string m_programFiles;
};

TEST_P(InstallFolderTest, MadeOutsideProgramFilesClosedOthersKept) {
    const FolderCase& c = GetParam();
    TempDir dir("folder");
    std::string folder = dir / "测试 盘\\Quilm";
    if (c.place == kUnderProgramFiles) {
        m_programFiles = ShellFolder(CSIDL_PROGRAM_FILES) + "QuilmFolderTest" +
                         std::to_string(::GetCurrentProcessId());
        folder = m_programFiles + "\\Quilm";
    }
    if (c.place == kExistingClosed || c.place == kExistingOpen) {
        ASSERT_TRUE(MakeFolders(folder));
    }
    if (c.place == kExistingOpen) {
        ASSERT_EQ(AfxSetProtectedDacl(folder.c_str(), "D:P(A;OICI;FA;;;WD)"), 0u);
    }
    const std::string log = dir / "setup.log";
    ASSERT_TRUE(AfxGetLog().Open(log));

    EXPECT_EQ(PrepareInstallFolder(folder + "\\"), c.state);

    AfxGetLog().Close();
    const std::string text = ReadLog(log);
    if (c.log[0]) {
        EXPECT_NE(text.find(c.log + folder + c.tail), std::string::npos) << text;
    } else {
        EXPECT_EQ(text.find("install folder"), std::string::npos) << text;
    }
    EXPECT_EQ(FolderExists(folder), c.made || c.place >= kExistingClosed);
    EXPECT_EQ(FolderExists(folder + "\\Temp"), c.made);
    if (c.made) {
        // What Wine keeps of the list gives ordinary users no write right.
        EXPECT_FALSE(AfxUsersCanWrite(folder.c_str())) << AfxFileDaclSddl(folder.c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, InstallFolderTest,
    ::testing::Values(
        FolderCase{kOutside, kFolderMade, true,
                   "install folder made, closed to ordinary users: ", "\r\n"},
        FolderCase{kUnderProgramFiles, kFolderInProgramFiles, true, "", ""},
        FolderCase{kExistingClosed, kFolderExisted, false,
                   "install folder existed, access list kept: ",
                   "; ordinary users can write to it: no\r\n"},
        FolderCase{kExistingOpen, kFolderExistedWritable, false,
                   "install folder existed, access list kept: ",
                   "; ordinary users can write to it: yes (no control is loaded there)\r\n"}));

class AllowListTest : public ::testing::TestWithParam<std::pair<const char*, bool>> {};
TEST_P(AllowListTest, AnyChangeRightOrOwnerOutsideTheTrustedCounts) {
    CSecurityDescriptor descriptor = AfxDescriptorFromSddl(GetParam().first);
    ASSERT_TRUE(descriptor.IsValid()) << GetParam().first;
    EXPECT_EQ(AfxOthersCanWrite(descriptor), GetParam().second) << GetParam().first;
}
#define TI "S-1-5-80-956008885-3425870976-2393837744-1856089264-2284225287"
INSTANTIATE_TEST_SUITE_P(
    Sddl, AllowListTest,
    ::testing::Values(
        std::make_pair("O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", false),
        std::make_pair("O:BAD:(A;;FA;;;S-1-5-21-1004336348-1177238915-682003330-513)", true),
        std::make_pair("O:S-1-5-21-1004336348-1177238915-682003330-1104D:(A;;FA;;;SY)", true),
        std::make_pair("O:SYD:(A;OICIIO;FA;;;CO)(A;OICI;FA;;;BA)", false),
        std::make_pair("O:" TI "D:(A;;FA;;;" TI ")", false),
        std::make_pair("O:BAD:(D;OICI;FA;;;WD)(A;;FA;;;SY)", false),
        std::make_pair("O:BAD:(A;OICIIO;GW;;;AU)", true)));
