#include "AfxProcesses.h"

#include <windows.h>
#include <tlhelp32.h>

#include "AfxHandle.h"

namespace {

// QueryFullProcessImageNameA with a buffer that grows for long paths;
// empty when the system does not tell.
std::string ProgramFileOf(HANDLE process) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(path.size());
        if (::QueryFullProcessImageNameA(process, 0, &path[0], &size)) {
            path.resize(size);
            return path;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 0x10000)
            return std::string();
        path.resize(path.size() * 4);
    }
}

}  // namespace

std::vector<std::string> AfxRunningPrograms() {
    std::vector<std::string> programs;
    CHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid()) return programs;
    const DWORD self = ::GetCurrentProcessId();
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot, &entry); more;
         more = ::Process32Next(snapshot, &entry)) {
        // Id 0 is the system's idle process, which no one may open.
        if (entry.th32ProcessID == self || entry.th32ProcessID == 0) continue;
        CHandle process(
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (!process.IsValid()) continue;
        // On Windows a process that has ended stays in the list while
        // someone holds a handle to it; it holds no file open any more.
        // (Wine drops it at once: docs/WINE-NOTES.md.)
        DWORD code = 0;
        if (::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE) continue;
        const std::string file = ProgramFileOf(process);
        if (!file.empty()) programs.push_back(AfxLongPath(file));
    }
    return programs;
}

std::string AfxLongPath(const std::string& path) {
    // Only a name with "~" can be a short one; the others cost no call.
    if (path.find('~') == std::string::npos) return path;
    std::string result(MAX_PATH, '\0');
    DWORD n = ::GetLongPathNameA(path.c_str(), &result[0], static_cast<DWORD>(result.size()));
    if (n >= result.size()) {
        result.resize(n);
        n = ::GetLongPathNameA(path.c_str(), &result[0], n);
    }
    if (n == 0 || n >= result.size()) return path;
    result.resize(n);
    return result;
}
