#include "Wizard.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "UiDriver.h"
#include "resources/setup/resource.h"

namespace quilmtest {

const char kDefaultDest[] = "C:\\Program Files\\Corvantix\\Quilm\\";

namespace {

bool CopyHostFile(const std::string& unixPath, const std::string& to) {
    return ::CopyFileA(HostToWine(unixPath).c_str(), to.c_str(), FALSE) != 0;
}

int PageMark(Page page) {
    static const int marks[] = {IDC_WELCOME_TEXT, IDC_LICENSE_TEXT, IDC_DEST_EDIT, IDC_PROGRESS,
                                IDC_README};
    return marks[static_cast<int>(page)];
}

}  // namespace

int BuildMedium(const std::string& folder, const MediumOptions& options) {
    RemoveTree(folder);
    ::CreateDirectoryA(folder.c_str(), NULL);
    int files = 0;
    for (const char* name : CSetupThread::kPackageFolders) {
        if (options.missingFolder == name) continue;
        std::string dir = folder + name + "\\";
        ::CreateDirectoryA(dir.c_str(), NULL);
        WriteBytes(dir + "说明.txt", std::string("package file of ") + name + "\r\n");
        WriteBytes(dir + "data.bin", std::string(1000, 'q'));
        ::CreateDirectoryA((dir + "子目录").c_str(), NULL);
        WriteBytes(dir + "子目录\\deep.txt", "deep\r\n");
        files += 3;
        if (std::string(name) == "Support") ::CreateDirectoryA((dir + "Empty").c_str(), NULL);
    }
    if (options.extraFiles > 0 && options.missingFolder != "Temp") {
        std::string bulk = folder + "Temp\\bulk\\";
        ::CreateDirectoryA(bulk.c_str(), NULL);
        for (int i = 0; i < options.extraFiles; ++i) {
            char name[32];
            snprintf(name, sizeof(name), "f%05d.dat", i);
            WriteBytes(bulk + name, std::string(200, 'b'));
        }
        files += options.extraFiles;
    }
    WriteBytes(folder + "Quilm.exe", "not a real program\r\n");
    WriteBytes(folder + "QuilmV8.5.ico", "icon\r\n");
    WriteBytes(folder + "Quilm.url", "[InternetShortcut]\r\nURL=http://example.invalid/\r\n");
    WriteBytes(folder + "QuilmHelp.chm", "help\r\n");
    if (options.withReadme) WriteBytes(folder + "readme.txt", "Quilm V8.5 说明\r\n");
    CopyHostFile(QUILM_SETUP_EXE, folder + "Setup.exe");
    if (!options.withSlides) return files;
    std::string slides = folder + "安装界面\\";
    ::CreateDirectoryA(slides.c_str(), NULL);
    CopyHostFile(std::string(QUILM_TEST_DATA) + "/wide_4x3.jpg", slides + "a.jpg");
    CopyHostFile(std::string(QUILM_TEST_DATA) + "/tall_1x2.jpg", slides + "b.jpg");
    return files;
}

void RemoveInstallation(const std::string& destDir) {
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kProductKey);
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    // The parents were made by the installation too; remove them when empty.
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix\\Quilm");
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
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

}  // namespace quilmtest
