// Paths, files, folders and text.
#include "TestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>

namespace quilmtest {

const char kMissing[] = "<missing>";

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = static_cast<int>(text.size());
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, NULL, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], n);
    return wide;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// True when the last character of path is "\" or "/".  Looked at in the
// wide form: the trail byte of a double-byte character may be 5C.
bool EndsWithSeparator(const std::string& path) {
    std::wstring wide = Wide(path);
    return !wide.empty() && IsSeparator(wide.back());
}

std::string WithBackslash(const std::string& folder) {
    return folder.empty() || EndsWithSeparator(folder) ? folder : folder + "\\";
}

// Length of the root of an extended path ("\\?\C:\" or
// "\\?\UNC\server\share\"), or 0 when it has none of these forms.
size_t RootLength(const std::wstring& path) {
    const std::wstring prefix = L"\\\\?\\";
    if (path.compare(0, prefix.size(), prefix) != 0) return 0;
    size_t at = prefix.size();
    if (path.size() >= at + 3 && path[at + 1] == L':' && path[at + 2] == L'\\') return at + 3;
    const std::wstring unc = L"UNC\\";
    if (path.compare(at, unc.size(), unc) != 0) return 0;
    size_t server = path.find(L'\\', at + unc.size());
    if (server == std::wstring::npos) return 0;
    size_t share = path.find(L'\\', server + 1);
    return share == std::wstring::npos ? 0 : share + 1;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
    size_t root = RootLength(path);
    while (path.size() > root && !path.empty() && IsSeparator(path.back())) path.pop_back();
    return path;
}

// Everything inside dir; dir itself stays.  Junctions and other reparse
// points are removed, never entered.
void DeleteContent(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring full = dir + L"\\" + name;
        ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) DeleteContent(full);
            ::RemoveDirectoryW(full.c_str());
        } else {
            ::DeleteFileW(full.c_str());
        }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

}  // namespace

// Paths

std::string HostToWine(const std::string& hostPath) {
    if (hostPath.empty() || hostPath[0] != '/') return hostPath;
    std::string path = "Z:" + hostPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string TempRoot() {
    char buffer[MAX_PATH + 1] = {0};
    DWORD n = ::GetTempPathA(sizeof(buffer), buffer);
    return WithBackslash(std::string(buffer, n < sizeof(buffer) ? n : 0));
}

std::string CurrentDirectory() {
    DWORD size = ::GetCurrentDirectoryA(0, NULL);
    if (size == 0) return std::string();
    std::string dir(size, '\0');
    DWORD n = ::GetCurrentDirectoryA(size, &dir[0]);
    dir.resize(n < size ? n : 0);
    return dir;
}

bool CurrentDriveIsC() {
    std::string dir = CurrentDirectory();
    return dir.size() >= 2 && (dir[0] == 'C' || dir[0] == 'c') && dir[1] == ':';
}

std::string OwnProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(path.size());
        DWORD n = ::GetModuleFileNameA(NULL, &path[0], size);
        if (n < size) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH + 1] = {0};
    if (FAILED(::SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path)))
        return std::string();
    return WithBackslash(path);
}

std::wstring ExtendedPath(const std::string& path) {
    std::wstring wide = Wide(path);
    if (wide.empty() || wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, NULL, NULL);
    if (size == 0) return wide;
    std::wstring full(size, L'\0');
    DWORD n = ::GetFullPathNameW(wide.c_str(), size, &full[0], NULL);
    if (n == 0 || n >= size) return wide;
    full.resize(n);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return full;
}

// Files and folders

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

bool Exists(const std::string& path) {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool FileExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ExistsAnyLength(const std::string& path) {
    return !path.empty() &&
           ::GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ExactlyHidden(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & ~FILE_ATTRIBUTE_ARCHIVE) == FILE_ATTRIBUTE_HIDDEN;
}

bool MakeFolders(const std::string& path) {
    std::wstring full = WithoutTrailingSeparators(ExtendedPath(path));
    size_t root = RootLength(full);
    if (root == 0 || full.size() <= root) return false;
    for (size_t i = root; i <= full.size(); ++i) {
        if (i < full.size() && full[i] != L'\\') continue;
        std::wstring folder = full.substr(0, i);
        DWORD a = ::GetFileAttributesW(folder.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) {
            if (!::CreateDirectoryW(folder.c_str(), NULL) &&
                ::GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        } else if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
            return false;
        }
    }
    DWORD a = ::GetFileAttributesW(full.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveTree(const std::string& path) {
    // Never a drive root, nor anything as short as one.
    std::wstring given = Wide(path);
    while (!given.empty() && IsSeparator(given.back())) given.pop_back();
    if (given.size() < 4) return false;
    std::wstring dir = WithoutTrailingSeparators(ExtendedPath(path));
    size_t root = RootLength(dir);
    if (root == 0 || dir.size() <= root) return false;

    DWORD a = ::GetFileAttributesW(dir.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return true;
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) return false;  // a file is no tree
    ::SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(a & FILE_ATTRIBUTE_REPARSE_POINT)) DeleteContent(dir);
    ::RemoveDirectoryW(dir.c_str());
    return ::GetFileAttributesW(dir.c_str()) == INVALID_FILE_ATTRIBUTES;
}

namespace {

// The host's path of a Windows path, through Wine's kernel32.
std::string HostPath(const std::string& path) {
    typedef char*(CDECL * ToUnix)(LPCWSTR);
    ToUnix toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    std::wstring wide = Wide(path);
    while (!wide.empty() && IsSeparator(wide.back())) wide.pop_back();
    char* unix = toUnix(wide.c_str());
    if (!unix) return std::string();
    std::string result = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

// Starts a host program (Wine starts Unix programs too, but gives no
// handle to wait on: the caller waits for the program's effect).
bool StartHost(std::string commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                          &process))
        return false;
    if (process.hThread) ::CloseHandle(process.hThread);
    if (process.hProcess) ::CloseHandle(process.hProcess);
    return true;
}

}  // namespace

bool MakeHostLink(const std::string& link, const std::string& target) {
    // Wine hands a host program its arguments unquoted: no blanks here.
    std::string from = HostPath(link), to = HostPath(target);
    if (from.empty() || to.empty() || (from + to).find(' ') != std::string::npos) return false;
    if (!StartHost("Z:\\bin\\ln -sfn " + to + " " + from)) return false;
    return WaitUntil(
        [&] {
            DWORD attributes = Attributes(link);
            return attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        },
        5000);
}

bool RemoveHostLink(const std::string& link) {
    std::string path = HostPath(link);
    return !path.empty() && path.find(' ') == std::string::npos &&
           StartHost("Z:\\bin\\rm " + path) && WaitUntil([&] { return !Exists(link); }, 5000);
}

bool MakeHostSparseFile(const std::string& path, ULONGLONG size) {
    std::string file = HostPath(path);
    if (file.empty() || file.find(' ') != std::string::npos) return false;
    if (!StartHost("Z:\\usr\\bin\\truncate -s " + std::to_string(size) + " " + file)) return false;
    return WaitUntil(
        [&] {
            WIN32_FILE_ATTRIBUTE_DATA data = {};
            return ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
                   ((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) == size;
        },
        5000);
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
    return ::CloseHandle(file) && ok;
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0)
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    std::string buffer(1 << 16, '\0');
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        ok = ::ReadFile(file, &buffer[0], static_cast<DWORD>(buffer.size()), &got, NULL) != FALSE;
        if (!ok || got == 0) break;
        bytes.append(buffer, 0, got);
    }
    ::CloseHandle(file);
    return ok;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : std::string();
}

HANDLE OpenWithoutSharing(const std::string& path) {
    return ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0,
                         NULL);
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((WithBackslash(folder) + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

namespace {

void CollectFilesBelow(const std::string& folder, std::vector<std::string>& out) {
    std::string dir = WithBackslash(folder);
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) CollectFilesBelow(dir + name, out);
        else out.push_back(dir + name);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

}  // namespace

std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    CollectFilesBelow(folder, files);
    return files;
}

std::map<std::string, std::string> TreeBelow(const std::string& folder) {
    std::map<std::string, std::string> tree;
    std::vector<std::string> folders{WithBackslash(folder)};
    while (!folders.empty()) {
        const std::string dir = folders.back();
        folders.pop_back();
        WIN32_FIND_DATAA data;
        HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            const std::string name = data.cFileName, path = dir + name;
            if (name == "." || name == "..") continue;
            std::string& entry = tree[path] = std::to_string(data.dwFileAttributes) + ":";
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(path + "\\");
            else entry += ReadBytes(path);
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    return tree;
}

int CountFilesBelow(const std::string& folder) {
    return static_cast<int>(FilesBelow(folder).size());
}

std::string MakeTempFolder(const std::string& tag) {
    static std::atomic<int> counter(0);
    std::string path = TempRoot() + "quilm-" + tag + "-" + std::to_string(::GetCurrentProcessId()) +
                       "-" + std::to_string(++counter);
    RemoveTree(path);
    MakeFolders(path);
    return path + "\\";
}

TempDir::TempDir(const std::string& tag) : m_path(MakeTempFolder(tag)) {}

TempDir::~TempDir() {
    RemoveTree(m_path);
}

// Text

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines = Lines(text);
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r') line.pop_back();
    return lines;
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

}  // namespace quilmtest
