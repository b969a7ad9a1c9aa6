#include "AfxSystemFolders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace {

void Add(std::vector<std::string>& folders, const char* folder, size_t length) {
    if (length > 0 && length < MAX_PATH) folders.emplace_back(folder, length);
}

void AddCsidl(std::vector<std::string>& folders, int csidl) {
    char path[MAX_PATH + 1] = "";
    if (SUCCEEDED(::SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path)))
        Add(folders, path, strlen(path));
}

void AddVariable(std::vector<std::string>& folders, const char* name) {
    char path[MAX_PATH + 1] = "";
    Add(folders, path, ::GetEnvironmentVariableA(name, path, MAX_PATH));
}

// The folder of the users' profiles ("C:\Users") has no CSIDL.
void AddUserProfiles(std::vector<std::string>& folders) {
    PWSTR wide = NULL;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_UserProfiles, 0, NULL, &wide))) {
        char path[MAX_PATH + 1] = "";
        int n = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, NULL, NULL);
        if (n > 1) Add(folders, path, static_cast<size_t>(n - 1));
    }
    ::CoTaskMemFree(wide);
}

}  // namespace

std::vector<std::string> AfxProgramFilesFolders() {
    std::vector<std::string> folders;
    AddVariable(folders, "ProgramW6432");
    AddCsidl(folders, CSIDL_PROGRAM_FILES);
    AddCsidl(folders, CSIDL_PROGRAM_FILESX86);
    for (const char* name : {"ProgramFiles", "ProgramFiles(x86)"}) AddVariable(folders, name);
    return folders;
}

std::vector<std::string> AfxSystemFolders() {
    std::vector<std::string> folders = AfxProgramFilesFolders();
    char path[MAX_PATH + 1] = "";
    Add(folders, path, ::GetWindowsDirectoryA(path, MAX_PATH));
    Add(folders, path, ::GetSystemWindowsDirectoryA(path, MAX_PATH));
    Add(folders, path, ::GetSystemDirectoryA(path, MAX_PATH));
    // 0 on 32-bit Windows, which has no such folder.
    Add(folders, path, ::GetSystemWow64DirectoryA(path, MAX_PATH));
    AddCsidl(folders, CSIDL_SYSTEMX86);
    AddUserProfiles(folders);
    AddCsidl(folders, CSIDL_COMMON_APPDATA);
    return folders;
}
