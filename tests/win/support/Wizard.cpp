#include "Wizard.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "UiDriver.h"
#include "support/Jobs.h"
#include "support/MediumBuilder.h"
#include "resources/setup/resource.h"

namespace quilmtest {

const char kDefaultDest[] = "C:\\Program Files\\Corvantix\\Quilm\\";

namespace {

int PageMark(Page page) {
    static const int marks[] = {IDC_WELCOME_TEXT, IDC_LICENSE_TEXT, IDC_DEST_EDIT, IDC_PROGRESS,
                                IDC_README};
    return marks[static_cast<int>(page)];
}

}  // namespace

int BuildMedium(const std::string& folder, const MediumOptions& options) {
    RemoveTree(folder);
    MediumBuilder medium(folder);
    int files = 0;
    for (const char* name : kPackageFolders) {
        if (options.missingFolder == name) continue;
        const std::string dir = std::string(name) + "\\";
        medium.File(dir + "说明.txt", std::string("package file of ") + name + "\r\n");
        medium.File(dir + "data.bin", std::string(1000, 'q'));
        medium.File(dir + "子目录\\deep.txt", "deep\r\n");
        files += 3;
        if (std::string(name) == "Support") medium.Folder(dir + "Empty");
    }
    if (options.extraFiles > 0 && options.missingFolder != "Temp") {
        medium.Bulk("Temp\\bulk", options.extraFiles, std::string(200, 'b'));
        files += options.extraFiles;
    }
    medium.File("Quilm.exe", "not a real program\r\n");
    medium.File("QuilmV8.5.ico", "icon\r\n");
    medium.File("Quilm.url", "[InternetShortcut]\r\nURL=http://example.invalid/\r\n");
    medium.File("QuilmHelp.chm", "help\r\n");
    if (options.withReadme) medium.File("readme.txt", "Quilm V8.5 说明\r\n");
    medium.Copy("Setup.exe", QUILM_SETUP_EXE);
    if (!options.withSlides) return files;
    medium.Copy("安装界面\\a.jpg", std::string(QUILM_TEST_DATA) + "/wide_4x3.jpg");
    medium.Copy("安装界面\\b.jpg", std::string(QUILM_TEST_DATA) + "/tall_1x2.jpg");
    return files;
}

void RemoveInstallation(const std::string& destDir) {
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kProductKey);
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    // The parents were made by the installation too; remove them when empty.
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix\\Quilm", KEY_WOW64_32KEY, 0);
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix", KEY_WOW64_32KEY, 0);
    RemoveKeyTree64(kActiveSetupKey);
    RemoveKeyTree(HKEY_CURRENT_USER, kActiveSetupStamp);
    if (!destDir.empty()) RemoveTree(destDir);
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
        std::string programs = ShellFolder(csidl);
        if (!programs.empty()) RemoveTree(programs + kStartMenuGroup);
    }
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        std::string desktop = ShellFolder(csidl);
        if (desktop.empty()) continue;
        std::string link = desktop + "土地整理规划设计.LNK";
        ::SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(link.c_str());
    }
}

HWND FindPage(DWORD pid, Page page) {
    return uidriver::FindTopWindow(kWizardTitle, "#32770", pid, PageMark(page));
}

HWND WaitPage(DWORD pid, Page page, DWORD timeoutMs) {
    return uidriver::WaitTopWindow(kWizardTitle, "#32770", pid, PageMark(page), timeoutMs);
}

bool ClickNext(HWND page) {
    return uidriver::Click(page, IDC_NEXT);
}

HWND WalkToPathPage(DWORD pid) {
    HWND welcome = WaitPage(pid, Page::kWelcome);
    if (!welcome) return NULL;
    ClickNext(welcome);
    HWND license = WaitPage(pid, Page::kLicense);
    if (!license) return NULL;
    uidriver::Click(license, IDC_AGREE);
    if (!uidriver::WaitItemEnabled(license, IDC_NEXT, true, kWait)) return NULL;
    ClickNext(license);
    return WaitPage(pid, Page::kPath);
}

HWND StartCopy(DWORD pid, const std::string& dest) {
    HWND path = WalkToPathPage(pid);
    if (!path) return NULL;
    uidriver::SetItemText(path, IDC_DEST_EDIT, dest);
    ClickNext(path);
    return path;
}

std::string DestinationShown(HWND pathPage) {
    return uidriver::GetItemText(pathPage, IDC_DEST_EDIT);
}

namespace {

// The local day ("yyyymmdd") a file or folder was made or last written.
std::string LocalDate(const std::string& path, bool written) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return "";
    FILETIME local;
    SYSTEMTIME day;
    ::FileTimeToLocalFileTime(written ? &data.ftLastWriteTime : &data.ftCreationTime, &local);
    ::FileTimeToSystemTime(&local, &day);
    char date[16];
    std::snprintf(date, sizeof(date), "%04u%02u%02u", day.wYear, day.wMonth, day.wDay);
    return date;
}

}  // namespace

void ExpectInstalled(const std::string& dest, int packageFiles, bool withReadme) {
    EXPECT_TRUE(FileExists(dest + "Support\\说明.txt"));
    EXPECT_TRUE(FileExists(dest + "图库\\子目录\\deep.txt"));
    EXPECT_TRUE(FolderExists(dest + "Support\\Empty"));
    EXPECT_TRUE(FileExists(dest + "Quilm.exe"));
    EXPECT_EQ(FileExists(dest + "readme.txt"), withReadme);
    EXPECT_FALSE(FileExists(dest + "Setup.exe"));
    int copied = 0;
    for (const char* name : kPackageFolders) copied += CountFilesBelow(dest + name);
    EXPECT_EQ(copied, packageFiles);
    std::string log = dest + "Uninstall.log";
    ASSERT_TRUE(FileExists(log));
    EXPECT_TRUE(::GetFileAttributesA(log.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ExpectWellFormedRecord(dest);
    std::string record = ReadBytes(log);
    EXPECT_NE(record.find("Made Dir: " + dest + "Support"), std::string::npos);
    EXPECT_NE(record.find(std::string("RegDB Key: ")), std::string::npos);

    // Product key, Add/Remove Programs entry and shortcuts.
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), dest);
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "Ver"), "8.00");
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), kDisplayName);
    std::string uninstall = GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    EXPECT_NE(uninstall.find(dest + "Uninstall.exe"), std::string::npos) << uninstall;
    // What the system's list of programs and deployment tools read.
    const std::string uninstaller = dest + "Uninstall.exe";
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "8.5");
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Corvantix有限公司");
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), uninstaller + ",0");
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), dest);
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"),
              "\"" + uninstaller + "\" /VERYSILENT");
    // The installation's day: no earlier than the day its first folder was
    // made, no later than the day its record was written.
    const std::string installDate = GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallDate");
    const std::string made = LocalDate(dest + "Support", false), written = LocalDate(log, true);
    ASSERT_EQ(made.size(), 8u);
    ASSERT_EQ(written.size(), 8u);
    EXPECT_EQ(installDate.size(), 8u) << installDate;
    EXPECT_LE(made, installDate);
    EXPECT_GE(written, installDate);
    DWORD size = 0;
    EXPECT_TRUE(GetDword(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize", size));
    EXPECT_GT(size, 0u);
    DWORD flag = 0;
    EXPECT_TRUE(GetDword(HKEY_LOCAL_MACHINE, kUninstallKey, "NoModify", flag) && flag == 1);
    EXPECT_TRUE(GetDword(HKEY_LOCAL_MACHINE, kUninstallKey, "NoRepair", flag) && flag == 1);
    bool desktopLink = false, menuLink = false;
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY})
        desktopLink |= FileExists(ShellFolder(csidl) + "土地整理规划设计.LNK");
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
        menuLink |= FileExists(ShellFolder(csidl) + kStartMenuGroup + "\\Quilm V8.5 卸载程序.LNK");
    EXPECT_TRUE(desktopLink);
    EXPECT_TRUE(menuLink);
}

}  // namespace quilmtest
