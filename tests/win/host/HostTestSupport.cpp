#include "HostTestSupport.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include "common/RegistryStrings.h"
#include "common/messages.h"

namespace hosttest {

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

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(::SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path))) return std::string();
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

TempDir::TempDir() {
    static int counter = 0;
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    char name[64];
    snprintf(name, sizeof(name), "quilm_host_%lu_%d\\", ::GetCurrentProcessId(), ++counter);
    m_path = std::string(temp) + name;
    RemoveTree(m_path);
    ::CreateDirectoryA(m_path.c_str(), NULL);
}

TempDir::~TempDir() { RemoveTree(m_path); }

void RemoveTree(const std::string& path) {
    std::string dir = path;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else ::DeleteFileA(full.c_str());
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

bool FileExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    fwrite(text.data(), 1, text.size(), f);
    return fclose(f) == 0;
}

std::string ReadWholeFile(const std::string& path) {
    std::string data;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return data;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) data.append(buffer, n);
    fclose(f);
    return data;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

std::string TestControlPath() {
    std::string path = QUILM_TEST_CONTROL;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a host path under Wine
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool CopyTestControl(const std::string& to) {
    return ::CopyFileA(TestControlPath().c_str(), to.c_str(), FALSE) != FALSE;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY h = NULL;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    ::RegCloseKey(h);
    return true;
}

bool SetString(HKEY root, const std::string& key, const std::string& value,
               const std::string& text) {
    return SetRegString(root, key.c_str(), value.c_str(), text.c_str()) != FALSE;
}

bool ReadString(HKEY root, const std::string& key, const std::string& value, std::string& text) {
    text.clear();
    HKEY h = NULL;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = ::RegQueryValueExA(h, value.c_str(), NULL, NULL, NULL, &size) == ERROR_SUCCESS;
    if (ok) {
        std::vector<char> buffer(size + 1, '\0');
        ok = ::RegQueryValueExA(h, value.c_str(), NULL, NULL,
                                reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS;
        if (ok) text.assign(buffer.data(), strnlen(buffer.data(), size));
    }
    ::RegCloseKey(h);
    return ok;
}

bool ValueExists(HKEY root, const std::string& key, const std::string& value) {
    std::string text;
    return ReadString(root, key, value, text);
}

void DeleteTree(HKEY root, const std::string& key) {
    ::RegDeleteTreeA(root, key.c_str());
    ::RegDeleteKeyA(root, key.c_str());
}

void DeleteValue(HKEY root, const std::string& key, const std::string& value) {
    HKEY h = NULL;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(h, value.c_str());
    ::RegCloseKey(h);
}

namespace {

void SnapshotTree(HKEY root, const std::string& key, const std::string& relative,
                  std::vector<KeyGuard::Node>& nodes) {
    HKEY h = NULL;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    KeyGuard::Node node;
    node.path = relative;
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof(name), type = 0, dataSize = 0;
        LONG r = ::RegEnumValueA(h, i, name, &nameSize, NULL, &type, NULL, &dataSize);
        if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA) break;
        KeyGuard::Value value;
        value.name.assign(name, nameSize);
        value.type = type;
        value.data.resize(dataSize);
        if (::RegQueryValueExA(h, value.name.c_str(), NULL, &value.type,
                               dataSize ? value.data.data() : NULL, &dataSize) == ERROR_SUCCESS) {
            value.data.resize(dataSize);
            node.values.push_back(value);
        }
    }
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD nameSize = sizeof(name);
        if (::RegEnumKeyExA(h, i, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        children.emplace_back(name, nameSize);
    }
    ::RegCloseKey(h);
    nodes.push_back(node);
    for (const std::string& child : children)
        SnapshotTree(root, key + "\\" + child, relative.empty() ? child : relative + "\\" + child,
                     nodes);
}

}  // namespace

KeyGuard::~KeyGuard() {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        DeleteTree(it->root, it->key);
        if (!it->existed) continue;
        for (const Node& node : it->nodes) {
            std::string path = node.path.empty() ? it->key : it->key + "\\" + node.path;
            HKEY h = NULL;
            if (::RegCreateKeyA(it->root, path.c_str(), &h) != ERROR_SUCCESS) continue;
            for (const Value& v : node.values)
                ::RegSetValueExA(h, v.name.c_str(), 0, v.type, v.data.empty() ? NULL : v.data.data(),
                                 static_cast<DWORD>(v.data.size()));
            ::RegCloseKey(h);
        }
    }
}

void KeyGuard::Guard(HKEY root, const std::string& key) {
    Entry entry{root, key, KeyExists(root, key), {}};
    if (entry.existed) SnapshotTree(root, key, "", entry.nodes);
    m_entries.push_back(entry);
}

ValueGuard::ValueGuard(HKEY root, const std::string& key, const std::string& value)
    : m_root(root), m_key(key), m_value(value) {
    HKEY h = NULL;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (::RegQueryValueExA(h, value.c_str(), NULL, &m_type, NULL, &size) == ERROR_SUCCESS) {
        m_data.resize(size);
        m_existed = ::RegQueryValueExA(h, value.c_str(), NULL, &m_type,
                                       size ? m_data.data() : NULL, &size) == ERROR_SUCCESS;
    }
    ::RegCloseKey(h);
}

ValueGuard::~ValueGuard() {
    HKEY h = NULL;
    if (!m_existed) {
        DeleteValue(m_root, m_key, m_value);
        return;
    }
    if (::RegCreateKeyA(m_root, m_key.c_str(), &h) != ERROR_SUCCESS) return;
    ::RegSetValueExA(h, m_value.c_str(), 0, m_type, m_data.empty() ? NULL : m_data.data(),
                     static_cast<DWORD>(m_data.size()));
    ::RegCloseKey(h);
}

void GuardAutoCadKeys(KeyGuard& guard) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        guard.Guard(root, "SOFTWARE\\Autodesk");
        DeleteTree(root, "SOFTWARE\\Autodesk");  // every test starts without AutoCAD
    }
}

void SetCurVer(HKEY root, const char* releaseKey, const std::string& productKey) {
    SetString(root, std::string("SOFTWARE\\Autodesk\\AutoCAD\\") + releaseKey, "CurVer",
              productKey);
}

void SetAcadValue(const char* releaseKey, const std::string& productKey, const char* value,
                  const std::string& text) {
    SetString(HKEY_LOCAL_MACHINE,
              std::string("SOFTWARE\\Autodesk\\AutoCAD\\") + releaseKey + "\\" + productKey, value,
              text);
}

std::string ProfileKey(const char* releaseKey, const std::string& productKey,
                       const std::string& profile) {
    return std::string("Software\\Autodesk\\AutoCAD\\") + releaseKey + "\\" + productKey +
           "\\Profiles\\" + profile;
}

void SetBaseProfile(const char* releaseKey, const std::string& productKey,
                    const std::string& profile, const std::string& acadList) {
    SetString(HKEY_CURRENT_USER, ProfileKey(releaseKey, productKey, profile) + "\\General", "ACAD",
              acadList);
}

const HostRelease& Release(const char* releaseKey) {
    for (const HostRelease& r : kHostReleases)
        if (strcmp(r.releaseKey, releaseKey) == 0) return r;
    return kHostReleases[0];
}

std::vector<std::string> RecordLines(const std::string& record) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < record.size()) {
        size_t end = record.find('\n', start);
        if (end == std::string::npos) end = record.size();
        std::string line = record.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> RecordFileLines(const std::string& path) {
    return RecordLines(ReadWholeFile(path));
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

namespace {

OwnerCounts* g_counts = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_counts) {
        if (msg == WM_SETUP_PROGRESS) ++g_counts->progress;
        if (msg == WM_SETUP_DONE) ++g_counts->done;
        if (msg == WM_SETUP_FAILED) ++g_counts->failed;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int RunInstallJob(const std::string& source, const std::string& dest, OwnerCounts& counts) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "QuilmHostTestOwner";
    ::RegisterClassA(&wc);
    HWND owner = ::CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL,
                                 wc.hInstance, NULL);
    if (!owner) return -1;
    CWnd ownerWnd(owner);
    g_counts = &counts;
    TestJob job;
    job.m_strSourceDir = source.c_str();
    job.m_strDestDir = dest.c_str();
    job.m_pMainWnd = &ownerWnd;
    job.m_bAutoDelete = FALSE;
    if (job.CreateThread(0, 0, NULL)) job.WaitForEnd();
    // The final message is posted: take it from the queue.
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    g_counts = nullptr;
    ::DestroyWindow(owner);
    return job.m_nPrompts;
}

}  // namespace hosttest
