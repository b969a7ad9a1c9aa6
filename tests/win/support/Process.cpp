#include "Process.h"

#include <tlhelp32.h>

namespace quilmtest {

ChildProcess::~ChildProcess() {
    Kill();
    if (!started()) return;
    ::CloseHandle(m_pi.hProcess);
    ::CloseHandle(m_pi.hThread);
}

namespace {

// CreateProcessA, tried again (twice at most) when it fails with
// ERROR_INTERNAL_ERROR: under load Wine now and then loses a new process
// before its loader has reported the start-up, before any of the
// program's code ran, and leaves no process behind (docs/WINE-NOTES.md).
// Any other failure is the caller's.
bool CreateChild(LPCSTR exe, std::string commandLine, const char* folder, PROCESS_INFORMATION& pi) {
    for (int attempt = 0;; ++attempt) {
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (::CreateProcessA(exe, &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder, &si, &pi))
            return true;
        if (::GetLastError() != ERROR_INTERNAL_ERROR || attempt == 2) return false;
    }
}

}  // namespace

bool ChildProcess::Start(const std::string& exe, const std::string& arguments, const char* folder) {
    return CreateChild(exe.c_str(), "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments),
                       folder, m_pi);
}

bool ChildProcess::StartCommand(std::string commandLine, const char* folder) {
    return CreateChild(NULL, commandLine, folder, m_pi);
}

bool ChildProcess::Wait(DWORD timeoutMs) const {
    return started() && ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode(DWORD timeoutMs) const {
    DWORD code = 0xFFFFFFFF;
    if (Wait(timeoutMs)) ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

bool ChildProcess::Kill() {
    if (!started() || Wait(0)) return false;
    ::TerminateProcess(m_pi.hProcess, 1);
    Wait(5000);
    return true;
}

namespace {

struct VisibleSearch {
    DWORD pid;
    std::string seen;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<VisibleSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !::IsWindowVisible(hwnd)) return TRUE;
    char title[256] = {0}, cls[64] = {0};
    ::GetWindowTextA(hwnd, title, sizeof(title));
    ::GetClassNameA(hwnd, cls, sizeof(cls));
    search->seen = std::string(cls) + " \"" + title + "\"";
    return FALSE;
}

}  // namespace

bool WaitUnseen(const ChildProcess& child, DWORD timeoutMs, std::string& seen) {
    VisibleSearch search{child.id(), std::string()};
    const DWORD start = ::GetTickCount();
    bool ended = false;
    while (!ended && search.seen.empty()) {
        ended = child.Wait(5);
        ::EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
        if (::GetTickCount() - start > timeoutMs) break;
    }
    seen = search.seen;
    return ended && seen.empty();
}

std::string ReadLog(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes(::GetFileSize(file, NULL), '\0');
    DWORD read = 0;
    ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, NULL);
    ::CloseHandle(file);
    bytes.resize(read);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") != 0) return std::string();
    bytes.erase(0, 3);
    int wide =
        ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), NULL, 0);
    std::wstring text(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], wide);
    int narrow = ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, NULL, 0, NULL, NULL);
    std::string result(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &result[0], narrow, NULL, NULL);
    return result;
}

DWORD RunProgram(const std::string& exe, const std::string& arguments, DWORD timeoutMs) {
    ChildProcess child;
    if (!child.Start(exe, arguments)) return 0xFFFFFFFF;
    return child.Wait(timeoutMs) ? child.ExitCode() : 0xFFFFFFFE;
}

bool CompleteRestart() {
    char system[MAX_PATH] = {0};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return RunProgram(std::string(system) + "\\wineboot.exe", "-r", 60000) == 0;
}

bool ProgramRunning(const char* exeName) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    BOOL more = snapshot != INVALID_HANDLE_VALUE && ::Process32First(snapshot, &entry);
    while (more && ::lstrcmpiA(entry.szExeFile, exeName) != 0)
        more = ::Process32Next(snapshot, &entry);
    if (snapshot != INVALID_HANDLE_VALUE) ::CloseHandle(snapshot);
    return more != FALSE;
}

}  // namespace quilmtest
