#include "TestKit.h"

#include <shlobj.h>

#include <cstdio>

namespace testkit {

const char kProductKey[] = "SOFTWARE\\Corvantix\\Quilm\\V8";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8";
const char kDefaultDest[] = "C:\\Program Files\\Corvantix\\Quilm\\";
const char kStartMenuGroup[] = "土地整理规划设计软件 Quilm V8.5";

namespace {

const char* const kFolders[9] = {"Support", "Control", "Database", "线型库", "填充图案",
                                 "图框",    "图例",    "图库",     "Temp"};

bool CopyHostFile(const std::string& unixPath, const std::string& to) {
    return ::CopyFileA(HostPath(unixPath).c_str(), to.c_str(), FALSE) != 0;
}

}  // namespace

std::string HostPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string TempDir() {
    char buffer[MAX_PATH + 1] = {0};
    ::GetTempPathA(MAX_PATH, buffer);
    std::string dir = buffer;
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    return dir;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

bool FileExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFile(const std::string& path) {
    std::string data;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return data;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) data.append(buffer, n);
    fclose(f);
    return data;
}

bool DeleteTree(const std::string& folder) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    if (!FolderExists(dir)) return true;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(dir.c_str());
    return !FolderExists(dir);
}

int CountFilesBelow(const std::string& folder) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    int count = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += CountFilesBelow(dir + "\\" + name);
        else
            ++count;
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return count;
}

int BuildMedium(const std::string& folder, const MediumOptions& options) {
    DeleteTree(folder);
    ::CreateDirectoryA(folder.c_str(), NULL);
    int files = 0;
    for (const char* name : kFolders) {
        if (options.missingFolder == name) continue;
        std::string dir = folder + name + "\\";
        ::CreateDirectoryA(dir.c_str(), NULL);
        WriteTextFile(dir + "说明.txt", std::string("package file of ") + name + "\r\n");
        WriteTextFile(dir + "data.bin", std::string(1000, 'q'));
        ::CreateDirectoryA((dir + "子目录").c_str(), NULL);
        WriteTextFile(dir + "子目录\\deep.txt", "deep\r\n");
        files += 3;
        if (std::string(name) == "Support") ::CreateDirectoryA((dir + "Empty").c_str(), NULL);
    }
    if (options.extraFiles > 0 && options.missingFolder != "Temp") {
        std::string bulk = folder + "Temp\\bulk\\";
        ::CreateDirectoryA(bulk.c_str(), NULL);
        for (int i = 0; i < options.extraFiles; ++i) {
            char name[32];
            snprintf(name, sizeof(name), "f%05d.dat", i);
            WriteTextFile(bulk + name, std::string(200, 'b'));
        }
        files += options.extraFiles;
    }
    WriteTextFile(folder + "Quilm.exe", "not a real program\r\n");
    WriteTextFile(folder + "QuilmV8.5.ico", "icon\r\n");
    WriteTextFile(folder + "Quilm.url", "[InternetShortcut]\r\nURL=http://example.invalid/\r\n");
    WriteTextFile(folder + "QuilmHelp.chm", "help\r\n");
    if (options.withReadme) WriteTextFile(folder + "readme.txt", "Quilm V8.5 说明\r\n");
    CopyHostFile(QUILM_SETUP_EXE, folder + "Setup.exe");
    if (!options.withSlides) return files;
    std::string slides = folder + "安装界面\\";
    ::CreateDirectoryA(slides.c_str(), NULL);
    CopyHostFile(std::string(QUILM_TEST_DATA) + "/wide_4x3.jpg", slides + "a.jpg");
    CopyHostFile(std::string(QUILM_TEST_DATA) + "/tall_1x2.jpg", slides + "b.jpg");
    return files;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = NULL;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

bool GetValue(HKEY root, const std::string& path, const char* name, std::string& value) {
    value.clear();
    HKEY key = NULL;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[2048] = {0};
    DWORD size = sizeof(buffer) - 1;
    LONG r = ::RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (r != ERROR_SUCCESS) return false;
    value = buffer;
    return true;
}

bool SetValue(HKEY root, const std::string& path, const char* name, const std::string& value) {
    HKEY key = NULL;
    if (::RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return false;
    LONG r = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

void DeleteKeyTree(HKEY root, const std::string& path) { ::RegDeleteTreeA(root, path.c_str()); ::RegDeleteKeyA(root, path.c_str()); }

std::string ShellFolder(int csidl) {
    char path[MAX_PATH + 1] = {0};
    if (FAILED(::SHGetFolderPathA(NULL, csidl, NULL, 0, path))) return std::string();
    return path;
}

void RemoveInstallation(const std::string& destDir) {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductKey);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    // The parents were made by the installation too; remove them when empty.
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix\\Quilm");
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
    if (!destDir.empty()) DeleteTree(destDir);
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
        std::string programs = ShellFolder(csidl);
        if (!programs.empty()) DeleteTree(programs + "\\" + kStartMenuGroup);
    }
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        std::string desktop = ShellFolder(csidl);
        if (desktop.empty()) continue;
        std::string link = desktop + "\\土地整理规划设计.LNK";
        ::SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(link.c_str());
    }
}

}  // namespace testkit
