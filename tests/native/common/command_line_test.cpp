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
    EXPECT_EQ(line.error.empty(), c.understood) << line.error;
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTable, ::testing::ValuesIn(kLineCases));

TEST(CommandLineTest, TheFirstFaultIsReportedAndHelpListsOnlyTheProgramsSwitches) {
    EXPECT_NE(ParseCommandLine("/x /DIR=a", true).error.find("/x"), std::string::npos);
    const std::string setup = CommandLineHelp("Setup.exe", true);
    const std::string uninstall = CommandLineHelp("Uninstall.exe", false);
    for (const char* name : {"/SILENT", "/VERYSILENT", "/LOG", "/HELP"}) {
        EXPECT_NE(setup.find(name), std::string::npos) << name;
        EXPECT_NE(uninstall.find(name), std::string::npos) << name;
    }
    EXPECT_NE(setup.find("/DIR"), std::string::npos);
    EXPECT_EQ(uninstall.find("/DIR"), std::string::npos);
    for (const char* code : {"0 ", "1 ", "2 ", "3 ", "4 "})
        EXPECT_NE(setup.find(code), std::string::npos) << code;
}

}  // namespace
