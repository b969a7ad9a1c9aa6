#include <gtest/gtest.h>

#include <string>

#include "common/command_line.h"

// "誠" in code page 936 is D5 5C: its trail byte looks like "\".
#define CHENG "\xD5\x5C"

namespace {

struct LineCase {
    const char* arguments;
    bool acceptsDir;
    UiLevel ui;
    bool help;
    const char* dir;
    const char* log;
    bool understood;
};

const LineCase kLineCases[] = {
    {"", true, kUiInteractive, false, "", "", true},
    {"  \t ", true, kUiInteractive, false, "", "", true},
    {"/SILENT", true, kUiSilent, false, "", "", true},
    {"/silent", false, kUiSilent, false, "", "", true},
    {"/VerySilent", true, kUiVerySilent, false, "", "", true},
    // The quieter wins, in either order.
    {"/VERYSILENT /SILENT", true, kUiVerySilent, false, "", "", true},
    {"/SILENT\t/VERYSILENT", true, kUiVerySilent, false, "", "", true},
    {"/?", true, kUiInteractive, true, "", "", true},
    {"/help /VERYSILENT", false, kUiVerySilent, true, "", "", true},
    // The folder: quoted or not, "\" added, a "\" before the closing quote
    // kept as part of the path, the whole switch quoted, a network path,
    // a double-byte last character whose trail byte is "\".
    {"/DIR=D:\\Quilm", true, kUiInteractive, false, "D:\\Quilm\\", "", true},
    {"/DIR=\"D:\\My Quilm\" /SILENT", true, kUiSilent, false, "D:\\My Quilm\\", "", true},
    {"/dir=\"D:\\Quilm\\\" /VERYSILENT", true, kUiVerySilent, false, "D:\\Quilm\\", "", true},
    {"\"/DIR=D:\\土地 整理\"", true, kUiInteractive, false, "D:\\土地 整理\\", "", true},
    {"/DIR=\\\\server\\share\\Quilm", true, kUiInteractive, false, "\\\\server\\share\\Quilm\\", "",
     true},
    {"/DIR=D:\\" CHENG, true, kUiInteractive, false, "D:\\" CHENG "\\", "", true},
    {"/LOG=\"C:\\日志 文件.log\" /SILENT", false, kUiSilent, false, "", "C:\\日志 文件.log", true},
    // Not understood: the level of quiet is still read, so that a silent
    // run never shows what is wrong.
    {"/DIR=Quilm", true, kUiInteractive, false, "", "", false},
    {"/DIR=C:Quilm /VERYSILENT", true, kUiVerySilent, false, "", "", false},
    {"/DIR=\\Quilm", true, kUiInteractive, false, "", "", false},
    {"/DIR=", true, kUiInteractive, false, "", "", false},
    {"/DIR=\"\"", true, kUiInteractive, false, "", "", false},
    {"/DIR=D:\\Quilm\\..\\Windows", true, kUiInteractive, false, "", "", false},
    {"/DIR=\\\\?\\D:\\Quilm", true, kUiInteractive, false, "", "", false},
    {"/DIR=D:\\Quilm", false, kUiInteractive, false, "", "", false},
    {"/S", true, kUiInteractive, false, "", "", false},
    {"/SILENT=1", true, kUiInteractive, false, "", "", false},
    {"/LOG=", true, kUiInteractive, false, "", "", false},
    {"SILENT", true, kUiInteractive, false, "", "", false},
    {"/SILENT /bogus /VERYSILENT", true, kUiVerySilent, false, "", "", false},
};

class CommandLineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTable, ReadsSwitchesAndRefusesWhatItCannotUnderstand) {
    const LineCase& c = GetParam();
    CommandLine line = ParseCommandLine(c.arguments, c.acceptsDir);
    EXPECT_EQ(line.ui, c.ui);
    EXPECT_EQ(line.help, c.help);
    EXPECT_EQ(line.dir, c.dir);
    EXPECT_EQ(line.log, c.log);
    EXPECT_EQ(line.fault == kFaultNone, c.understood) << line.offending;
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTable, ::testing::ValuesIn(kLineCases));

// The help that lists only each program's switches is its string table's
// text: tests/win/wizard/wizard_unit_test.cpp and
// tests/win/uapp/uapp_dialog_test.cpp.
TEST(CommandLineTest, TheFirstFaultIsReportedAndHelpListsOnlyTheProgramsSwitches) {
    const CommandLine first = ParseCommandLine("/x /DIR=a", true);
    EXPECT_EQ(first.fault, kFaultUnknownSwitch);
    EXPECT_NE(first.offending.find("/x"), std::string::npos);
    EXPECT_EQ(first.offending, "/x");
    const CommandLine dir = ParseCommandLine("/DIR=a /x", true);
    EXPECT_EQ(dir.fault, kFaultDirNotAbsolute);
    EXPECT_EQ(dir.offending, "a");
    // Without /DIR among the program's switches, /DIR is a switch it does
    // not have: the whole of it is named.
    const CommandLine notHere = ParseCommandLine("/SILENT /DIR=D:\\Quilm", false);
    EXPECT_EQ(notHere.fault, kFaultUnknownSwitch);
    EXPECT_EQ(notHere.offending, "/DIR=D:\\Quilm");
}

// "安装光盘" in code page 936.
#define DISC "\xB0\xB2\xD7\xB0\xB9\xE2\xC5\xCC"

struct SplitCase {
    const char* commandLine;
    const char* arguments;
};

const SplitCase kSplitCases[] = {
    // Quoted: up to the closing quote, blanks in the name included.
    {"\"C:\\Program Files\\Setup.exe\" /SILENT", "/SILENT"},
    {"\"C:\\" DISC "\\Setup.exe\"  /DIR=\"D:\\a b\"", "/DIR=\"D:\\a b\""},
    // Unquoted, double-byte folders, one ending in a trail byte 0x5C.
    {"C:\\" DISC "\\Setup.exe", ""},
    {"C:\\" DISC "\\Setup.exe /VERYSILENT /LOG=x", "/VERYSILENT /LOG=x"},
    {"C:\\" CHENG "\\Quilm\\Uninstall.exe\t/SILENT", "/SILENT"},
    {"\"C:\\" CHENG "\" /SILENT", "/SILENT"},
    {"C:\\" CHENG "\"x /SILENT", "/SILENT"},
    // Tabs and blanks after the name, nothing after it, empty arguments.
    {"Setup.exe \t \t/SILENT \"\"", "/SILENT \"\""},
    {"Setup.exe", ""},
    {"\"Setup.exe\"", ""},
    {"\"Setup.exe\"\"\"", "\"\""},
    {"\"\" /SILENT", "/SILENT"},
    {"", ""},
    // A quote never closed: all of it is the name.
    {"\"C:\\" DISC "\\Setup.exe /SILENT", ""},
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, SkipsTheProgramsNameAsTheSystemDoes) {
    EXPECT_EQ(ArgumentsOf(GetParam().commandLine), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineSplit, ::testing::ValuesIn(kSplitCases));

}  // namespace
