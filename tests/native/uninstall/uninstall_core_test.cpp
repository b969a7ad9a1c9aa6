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
    EXPECT_EQ(SelfDeleteScript("C:\\Program Files\\Quilm\\Uninstall.exe"),
              ":Repeat\r\n"
              "del \"C:\\Program Files\\Quilm\\Uninstall.exe\"\r\n"
              "del \"Filedelr.avi\"\r\n"
              "if exist \"C:\\Program Files\\Quilm\\Uninstall.exe\" goto Repeat\r\n"
              "rmdir \"C:\\Program Files\\Quilm\"\r\n"
              "del \"\\DelUS.bat\"\r\n");
}

TEST(SelfDeleteScript, LongPathIsNotCut) {
    std::string path = "C:\\" + std::string(900, 'a') + "\\U.exe";
    std::string script = SelfDeleteScript(path);
    EXPECT_NE(script.find("if exist \"" + path + "\" goto Repeat\r\n"), std::string::npos);
    EXPECT_NE(script.find("rmdir \"C:\\" + std::string(900, 'a') + "\"\r\n"), std::string::npos);
}

TEST(HostProfileKey, ReleaseProductAndV9Profile) {
    EXPECT_EQ(v9::HostProfileKey("R17.0", "ACAD-5001:804"),
              "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\Profiles\\<<Quilm V9>>");
    EXPECT_EQ(v9::HostProfileKey("R17.0", ""),
              "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\\\Profiles\\<<Quilm V9>>");
}
