#include "Host.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>

#include <gtest/gtest.h>

namespace quilmtest {

namespace {

// Wine's desktop process and shell write the machine's own folders into
// "Shell Folders" when they first start.  Let that happen before any test
// puts its own folders there, so it cannot overwrite them mid-test.
class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::GetDesktopWindow();
        HWND probe = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                     ::GetModuleHandleA(NULL), NULL);
        if (probe) ::DestroyWindow(probe);
        for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY,
                          CSIDL_COMMON_PROGRAMS})
            ShellFolder(csidl);
    }
};

::testing::Environment* const g_shellEnvironment =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

std::string TestControlPath() {
    return HostToWine(QUILM_TEST_CONTROL);
}

bool CopyTestControl(const std::string& to) {
    return ::CopyFileA(TestControlPath().c_str(), to.c_str(), FALSE) != FALSE;
}

std::string ControlNote(const std::string& fileName) {
    return GetValue(HKEY_CURRENT_USER, kControlNotes, fileName.c_str());
}

void GuardAutoCadKeys(KeyGuard& guard) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, kMachine64}) {
        guard.Guard(root, "SOFTWARE\\Autodesk");
        RemoveKeyTree(root, "SOFTWARE\\Autodesk");  // every test starts without AutoCAD
    }
}

void SetCurVer(HKEY root, const char* releaseKey, const std::string& productKey) {
    SetValue(root, std::string("SOFTWARE\\Autodesk\\AutoCAD\\") + releaseKey, "CurVer", productKey);
}

void SetAcadValue(const char* releaseKey, const std::string& productKey, const char* value,
                  const std::string& text, HKEY machine) {
    SetValue(machine, std::string("SOFTWARE\\Autodesk\\AutoCAD\\") + releaseKey + "\\" + productKey,
             value, text);
}

std::string ProfileKey(const char* releaseKey, const std::string& productKey,
                       const std::string& profile) {
    return std::string("Software\\Autodesk\\AutoCAD\\") + releaseKey + "\\" + productKey +
           "\\Profiles\\" + profile;
}

void SetBaseProfile(const char* releaseKey, const std::string& productKey,
                    const std::string& profile, const std::string& acadList) {
    SetValue(HKEY_CURRENT_USER, ProfileKey(releaseKey, productKey, profile) + "\\General", "ACAD",
             acadList);
}

const HostRelease& Release(const char* releaseKey) {
    for (const HostRelease& r : kHostReleases)
        if (strcmp(r.releaseKey, releaseKey) == 0) return r;
    return kHostReleases[0];
}

std::vector<std::string> RecordFileLines(const std::string& path) {
    return CrLfLines(ReadBytes(path));
}

bool ReadLink(const std::string& path, LinkInfo& info) {
    ::CoInitialize(NULL);
    IShellLinkA* link = NULL;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = NULL;
    bool ok = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[1024];
        if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, 1024) &&
            SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[1024];
            text[0] = '\0';
            link->GetPath(text, sizeof(text), NULL, SLGP_RAWPATH);
            info.target = text;
            text[0] = '\0';
            link->GetArguments(text, sizeof(text));
            info.arguments = text;
            text[0] = '\0';
            info.iconIndex = -1;
            link->GetIconLocation(text, sizeof(text), &info.iconIndex);
            info.icon = text;
            text[0] = '\0';
            link->GetWorkingDirectory(text, sizeof(text));
            info.workDir = text;
            ok = true;
        }
        file->Release();
    }
    link->Release();
    return ok;
}

}  // namespace quilmtest
