// The Active Setup component's version sequence and its two commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/active_setup.h"

using active_setup::MakingCommand;
using active_setup::NextVersion;
using active_setup::RemovalCommand;

namespace {

struct VersionCase {
    const char* previous;
    int year, month, day;
    const char* next;
};

class NextVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(NextVersionTest, GrowsWithEveryWrite) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(c.next, NextVersion(c.previous, c.year, c.month, c.day));
}

INSTANTIATE_TEST_SUITE_P(Sequence, NextVersionTest,
                         ::testing::Values(
                             // First installation, and one after the key was deleted by hand.
                             VersionCase{"", 2026, 12, 8, "2026,1208,1"},
                             // Again on the same day (install, removal, install): the count.
                             VersionCase{"2026,1208,1", 2026, 12, 8, "2026,1208,2"},
                             VersionCase{"2026,1208,9", 2026, 12, 8, "2026,1208,10"},
                             // A later day starts again at 1, and stays higher.
                             VersionCase{"2026,1208,7", 2026, 12, 9, "2026,1209,1"},
                             VersionCase{"2026,1231,4", 2027, 1, 2, "2027,102,1"},
                             // The clock went back: the earlier version's date, counted on.
                             VersionCase{"2026,1208,3", 2026, 11, 30, "2026,1208,4"},
                             // Not ours, or damaged: as if there were none.
                             VersionCase{"1,0,0,0", 2026, 12, 8, "2026,1208,1"},
                             VersionCase{"2026,1208", 2026, 12, 8, "2026,1208,1"},
                             VersionCase{"2026,1208,x", 2026, 12, 8, "2026,1208,1"},
                             VersionCase{"2026,1208,2 ", 2026, 12, 8, "2026,1208,1"},
                             VersionCase{"2026,1208,0", 2026, 12, 8, "2026,1208,1"}));

}  // namespace

TEST(ActiveSetupCommands, KeysCommandsAndQuoting) {
    EXPECT_EQ(
        "SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\"
        "{6E39D321-ED1D-4D66-ADDC-4B86FBB2B34E}",
        active_setup::MachineKeyPath());
    EXPECT_EQ(
        "Software\\Microsoft\\Active Setup\\Installed Components\\"
        "{6E39D321-ED1D-4D66-ADDC-4B86FBB2B34E}",
        active_setup::UserKeyPath());
    EXPECT_EQ("\"C:\\Program Files\\Quilm\\QuilmUser.exe\"",
              MakingCommand("C:\\Program Files\\Quilm\\"));
    EXPECT_EQ("\"D:\\Q\\QuilmUser.exe\"", MakingCommand("D:\\Q"));

    const std::vector<std::string> keys = {
        "Software\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\Profiles\\<<Quilm V8>>",
        "Software\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\<<Quilm V8>>"};
    EXPECT_EQ(
        "\"C:\\Windows\\system32\\cmd.exe\" /d /s /c \""
        "\"C:\\Windows\\system32\\reg.exe\" delete "
        "\"HKCU\\Software\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\Profiles\\<<Quilm V8>>\" /f"
        " & \"C:\\Windows\\system32\\reg.exe\" delete "
        "\"HKCU\\Software\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\<<Quilm V8>>\" /f"
        "\"",
        RemovalCommand("C:\\Windows\\system32\\", keys));
}
