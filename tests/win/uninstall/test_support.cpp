#include "test_support.h"

#include <cstdio>

#include "common/messages.h"

std::string HostToWine(const std::string& hostPath) {
    if (hostPath.empty() || hostPath[0] != '/') return hostPath;
    std::string path = "Z:" + hostPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

bool CurrentDriveIsC() {
    char dir[MAX_PATH * 2] = {0};
    DWORD n = ::GetCurrentDirectoryA(sizeof(dir), dir);
    return n >= 2 && (dir[0] == 'C' || dir[0] == 'c') && dir[1] == ':';
}

std::string MakeTempFolder(const std::string& tag) {
    static int counter = 0;
    char temp[MAX_PATH] = {0};
    ::GetTempPathA(sizeof(temp), temp);
    std::string path = std::string(temp) + "quilm-" + tag + "-" +
                       std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
    RemoveTree(path);
    MakeFolders(path);
    return path + "\\";
}

void RemoveTree(const std::string& path) {
    std::string dir = path;
    while (!dir.empty() && dir.back() == '\\') dir.pop_back();
    if (dir.size() < 4) return;  // never a drive root
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

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20)), wrote = 0;
        ok = ::WriteFile(file, bytes.data() + done, want, &wrote, NULL) && wrote > 0;
        done += wrote;
    }
    ::CloseHandle(file);
    return ok;
}

std::string ReadBytes(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &got, NULL) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            std::string part = path.substr(0, i);
            if (!FolderExists(part) && !::CreateDirectoryA(part.c_str(), NULL)) return false;
        }
    }
    return true;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = NULL;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

bool SetValue(HKEY root, const std::string& path, const char* name, const std::string& text) {
    HKEY key = NULL;
    if (::RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return false;
    bool ok = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

std::string GetValue(HKEY root, const std::string& path, const char* name) {
    HKEY key = NULL;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
    char buffer[8192] = {0};
    DWORD size = sizeof(buffer) - 1;
    LONG r = ::RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

// RegistryGuard

namespace {

std::vector<std::string> Subkeys(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY key = NULL;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        if (::RegEnumKeyExA(key, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    ::RegCloseKey(key);
    return names;
}

}  // namespace

RegistryGuard::RegistryGuard(HKEY root, const std::string& path)
    : m_root(root), m_path(path), m_existed(KeyExists(root, path)) {
    if (m_existed) Capture("");
}

std::string RegistryGuard::Full(const std::string& relative) const {
    return relative.empty() ? m_path : m_path + "\\" + relative;
}

void RegistryGuard::Capture(const std::string& relative) {
    Values& values = m_keys[relative];
    HKEY key = NULL;
    if (::RegOpenKeyExA(m_root, Full(relative).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char name[16384];
        std::string data(1 << 16, '\0');
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = sizeof(name), type = 0, dataSize = static_cast<DWORD>(data.size());
            LONG r = ::RegEnumValueA(key, i, name, &nameSize, NULL, &type,
                                     reinterpret_cast<BYTE*>(&data[0]), &dataSize);
            if (r != ERROR_SUCCESS) break;
            values[std::string(name, nameSize)] = Value{type, data.substr(0, dataSize)};
        }
        ::RegCloseKey(key);
    }
    for (const std::string& sub : Subkeys(m_root, Full(relative)))
        Capture(relative.empty() ? sub : relative + "\\" + sub);
}

void RegistryGuard::RemoveExtra(const std::string& relative) {
    for (const std::string& sub : Subkeys(m_root, Full(relative))) {
        std::string child = relative.empty() ? sub : relative + "\\" + sub;
        if (m_keys.count(child)) RemoveExtra(child);
        else DeleteKeyTree(m_root, CString(Full(child)));
    }
}

RegistryGuard::~RegistryGuard() {
    if (!m_existed) {
        DeleteKeyTree(m_root, CString(m_path));
        return;
    }
    RemoveExtra("");
    for (const auto& entry : m_keys) {  // parents sort before their children
        HKEY key = NULL;
        if (::RegCreateKeyA(m_root, Full(entry.first).c_str(), &key) != ERROR_SUCCESS) continue;
        // Drop values made since, then put the recorded ones back.
        std::vector<std::string> names;
        char name[16384];
        for (DWORD i = 0;; ++i) {
            DWORD size = sizeof(name);
            if (::RegEnumValueA(key, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
            names.emplace_back(name, size);
        }
        for (const std::string& n : names) {
            if (!entry.second.count(n)) ::RegDeleteValueA(key, n.c_str());
        }
        for (const auto& value : entry.second) {
            ::RegSetValueExA(key, value.first.c_str(), 0, value.second.type,
                             reinterpret_cast<const BYTE*>(value.second.data.data()),
                             static_cast<DWORD>(value.second.data.size()));
        }
        ::RegCloseKey(key);
    }
}

JobRegistryGuards::JobRegistryGuards() {
    Add(HKEY_CURRENT_USER, "Software\\Autodesk");
    Add(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    Add(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
    Add(HKEY_CURRENT_USER, "Software\\QuilmTest");
}

void JobRegistryGuards::Add(HKEY root, const std::string& path) {
    m_guards.emplace_back(new RegistryGuard(root, path));
}

// OwnerWindow

OwnerWindow::OwnerWindow() {
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &OwnerWindow::Proc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "QuilmUninstallTestOwner";
        return ::RegisterClassA(&wc);
    }();
    (void)atom;
    m_wnd.m_hWnd = ::CreateWindowA("QuilmUninstallTestOwner", "owner", WS_OVERLAPPED, 0, 0, 10, 10,
                                   NULL, NULL, ::GetModuleHandleA(NULL), NULL);
    ::SetWindowLongPtrA(m_wnd.m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

OwnerWindow::~OwnerWindow() {
    if (m_wnd.m_hWnd) ::DestroyWindow(m_wnd.m_hWnd);
}

int OwnerWindow::Count(UINT message) const {
    int n = 0;
    for (const JobMessage& m : m_log) n += m.message == message;
    return n;
}

void OwnerWindow::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK OwnerWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    OwnerWindow* self = reinterpret_cast<OwnerWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message >= WM_UNINSTALL_PROGRESS && message <= WM_UNINSTALL_FAILED) {
        JobMessage m{message, ::InSendMessage() != FALSE, std::string()};
        if (message == WM_UNINSTALL_PROGRESS && lParam)
            m.path = reinterpret_cast<const char*>(lParam);
        self->m_log.push_back(m);
        if (self->m_onMessage) self->m_onMessage(m);
        return 1;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// TestJob

int TestJob::s_batchStarts = 0;
std::string TestJob::s_batchCommand;

TestJob::TestJob() {
    m_pfnStartBatch = &TestJob::RecordBatchStart;
    s_batchStarts = 0;
    s_batchCommand.clear();
}

TestJob::~TestJob() {
    Stop();
    WaitForEnd();
}

BOOL TestJob::RecordBatchStart(LPSTR commandLine, PROCESS_INFORMATION&) {
    ++s_batchStarts;
    s_batchCommand = commandLine;
    return FALSE;
}

void RunJob(CUninstallThread& job, OwnerWindow& owner) {
    job.m_pMainWnd = &owner.m_wnd;
    job.m_bAutoDelete = FALSE;
    if (!job.CreateThread(0, 0, NULL)) return;
    job.WaitForEnd();
    owner.Pump();
}

std::string TakeBatch() {
    std::string text = ReadBytes("\\DelUS.bat");
    ::DeleteFileA("\\DelUS.bat");
    return text;
}

std::string OwnProgramPath() {
    char path[MAX_PATH * 4] = {0};
    DWORD n = ::GetModuleFileNameA(NULL, path, sizeof(path));
    return std::string(path, n);
}

void UninstallTest::SetUp() {
    ASSERT_TRUE(CurrentDriveIsC()) << "the current drive must be C: of the prefix";
    m_guards.reset(new JobRegistryGuards);
    m_dir = MakeTempFolder("uninst");
    ASSERT_TRUE(FolderExists(m_dir));
}

void UninstallTest::TearDown() {
    if (!m_dir.empty()) RemoveTree(m_dir);
    if (CurrentDriveIsC()) ::DeleteFileA("\\DelUS.bat");
    m_guards.reset();
}
