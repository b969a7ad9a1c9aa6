#include <gtest/gtest.h>

#include <string>

#include "uninstall/UninstallCore.h"

namespace {

// Builds expected byte lists from readable text: "|" stands for a zero.
std::string Z(const std::string& text) {
    std::string bytes = text;
    for (char& c : bytes) {
        if (c == '|') c = '\0';
    }
    return bytes;
}

const std::string kTudiZhengli = "\xCD\xC1\xB5\xD8\xD5\xFB\xC0\xED";  // 土地整理 in code page 936

}  // namespace

TEST(DataSourceAttributes, PairsInOrderEachZeroTerminatedThenEmptyPair) {
    EXPECT_EQ(DataSourceAttributes("D:\\Quilm\\"),
              Z("DSN=Quilm|Corvantix=" + kTudiZhengli +
                "Quilm|DBQ=D:\\Quilm\\Database\\Quilm.mdb|FIL=MS Access|UID=Corvantix|"
                "PWD=Wendabrix52081736409||"));
}

TEST(DataSourceAttributes, UnknownFolderGivesPathFromDriveRoot) {
    std::string list = DataSourceAttributes("\\");
    EXPECT_NE(list.find(Z("|DBQ=\\Database\\Quilm.mdb|")), std::string::npos);
}

TEST(DataSourceAttributes, LongFolderIsCarriedWhole) {
    std::string folder = "C:\\" + std::string(3000, 'x') + "\\";
    std::string list = DataSourceAttributes(folder);
    EXPECT_NE(list.find(Z("|DBQ=" + folder + "Database\\Quilm.mdb|")), std::string::npos);
    EXPECT_EQ(list.substr(list.size() - 2), std::string(2, '\0'));
}

TEST(ProgramFolder, CutsAtLastBackslash) {
    EXPECT_EQ(ProgramFolder("C:\\Program Files\\Quilm\\Uninstall.exe"), "C:\\Program Files\\Quilm");
    EXPECT_EQ(ProgramFolder("Uninstall.exe"), "Uninstall.exe");
    EXPECT_EQ(ProgramFolder("C:\\Uninstall.exe"), "C:");
}

TEST(ProgramFolder, NeverCutsInsideDoubleByteCharacter) {
    // "誠" is D5 5C: its trail byte equals "\".
    std::string name = "C:\\Q\\\xD5\x5C.exe";
    EXPECT_EQ(ProgramFolder(name), "C:\\Q");
    EXPECT_EQ(ProgramFolder("C:\\\xD5\x5C\\U.exe"), "C:\\\xD5\x5C");
}

TEST(SelfDeleteScript, ExactLinesWithQuotedPaths) {
    EXPECT_EQ(SelfDeleteScript("C:\\Program Files\\Quilm\\Uninstall.exe", "C:\\T\\q1\\DelUS.bat",
                               "C:\\T\\u.log", "C:\\Windows\\System32"),
              "@echo off\r\n"
              "setlocal DisableDelayedExpansion\r\n"
              "set /a tries=0\r\n"
              ":Repeat\r\n"
              "del \"C:\\Program Files\\Quilm\\Uninstall.exe\"\r\n"
              "del \"Filedelr.avi\"\r\n"
              "if not exist \"C:\\Program Files\\Quilm\\Uninstall.exe\" goto Removed\r\n"
              "set /a tries+=1\r\n"
              "if %tries% geq 600 goto GiveUp\r\n"
              "\"C:\\Windows\\System32\\PING.EXE\" -n 2 127.0.0.1 >nul\r\n"
              "goto Repeat\r\n"
              ":GiveUp\r\n"
              "echo self-deletion given up after 600 tries: the program could not be "
              "deleted>>\"C:\\T\\u.log\"\r\n"
              "goto End\r\n"
              ":Removed\r\n"
              "rmdir \"C:\\Program Files\\Quilm\"\r\n"
              ":End\r\n"
              "cd /d \"C:\\Windows\\System32\"\r\n"
              "(del \"C:\\T\\q1\\DelUS.bat\") & rmdir \"C:\\T\\q1\"\r\n");
    // Without a log the batch gives up silently.
    EXPECT_EQ(SelfDeleteScript("C:\\Q\\U.exe", "C:\\T\\DelUS.bat", "", "C:\\W").find(">>"),
              std::string::npos);
    // The bound is the caller's.
    const std::string bounded =
        SelfDeleteScript("C:\\Q\\U.exe", "C:\\T\\DelUS.bat", "C:\\l.log", "C:\\W", 3);
    EXPECT_NE(bounded.find("if %tries% geq 3 goto GiveUp\r\n"), std::string::npos) << bounded;
    EXPECT_NE(bounded.find("given up after 3 tries"), std::string::npos) << bounded;
}

TEST(SelfDeleteScript, LongPathIsNotCut) {
    std::string path = "C:\\" + std::string(900, 'a') + "\\U.exe";
    std::string script = SelfDeleteScript(path, "C:\\T\\DelUS.bat", "", "C:\\W");
    EXPECT_NE(script.find("if not exist \"" + path + "\" goto Removed\r\n"), std::string::npos);
    EXPECT_NE(script.find("rmdir \"C:\\" + std::string(900, 'a') + "\"\r\n"), std::string::npos);
}

struct CmdQuotedCase {
    const char* path;
    const char* quoted;
};

class CmdQuotedTest : public ::testing::TestWithParam<CmdQuotedCase> {};

TEST_P(CmdQuotedTest, DoublesPercentOnly) {
    EXPECT_EQ(CmdQuoted(GetParam().path), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CmdQuotedTest,
    ::testing::Values(CmdQuotedCase{"C:\\Q\\U.exe", "\"C:\\Q\\U.exe\""},
                      // "百分 100%x%": GBK bytes, then the two signs doubled.
                      CmdQuotedCase{"C:\\\xB0\xD9\xB7\xD6 100%x%\\U.exe",
                                    "\"C:\\\xB0\xD9\xB7\xD6 100%%x%%\\U.exe\""},
                      CmdQuotedCase{"D:\\a&b^c!d|e(f)<g>\\U.exe", "\"D:\\a&b^c!d|e(f)<g>\\U.exe\""},
                      CmdQuotedCase{"%%", "\"%%%%\""}, CmdQuotedCase{"", "\"\""}));

TEST(HostProfileKey, ReleaseProductAndV9Profile) {
    EXPECT_EQ(v9::HostProfileKey("R17.0", "ACAD-5001:804"),
              "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\Profiles\\<<Quilm V9>>");
    EXPECT_EQ(v9::HostProfileKey("R17.0", ""),
              "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\\\Profiles\\<<Quilm V9>>");
}
