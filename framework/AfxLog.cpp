#include "AfxLog.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

// Text in the system code page as UTF-8.
std::string ToUtf8(const std::string& text) {
    if (text.empty()) return text;
    int wide =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    if (wide <= 0) return text;
    std::vector<WCHAR> buffer(static_cast<size_t>(wide));
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), buffer.data(),
                          wide);
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, NULL, 0, NULL, NULL);
    if (bytes <= 0) return text;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &utf8[0], bytes, NULL, NULL);
    return utf8;
}

const size_t kBlock = 64 * 1024;

}  // namespace

CDiagnosticLog::CDiagnosticLog() {
    ::InitializeCriticalSection(&m_lock);
}

CDiagnosticLog::~CDiagnosticLog() {
    Close();
    ::DeleteCriticalSection(&m_lock);
}

bool CDiagnosticLog::Open(const std::string& path) {
    Close();
    ::EnterCriticalSection(&m_lock);
    m_file.Attach(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL));
    const bool open = m_file.IsValid();
    if (open) {
        m_strPath = path;
        m_pending = "\xEF\xBB\xBF";
        m_bWriteFailed = false;
    }
    ::LeaveCriticalSection(&m_lock);
    return open;
}

bool CDiagnosticLog::OpenNew(const std::string& program) {
    Close();
    char temp[MAX_PATH + 1] = {0};
    DWORD n = ::GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n > MAX_PATH) return false;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    for (int sequence = 1; sequence < 1000; ++sequence) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof(name), "%s%s-%04u%02u%02u-%03d.log", temp, program.c_str(),
                      now.wYear, now.wMonth, now.wDay, sequence);
        HANDLE file = ::CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            ::EnterCriticalSection(&m_lock);
            m_file.Attach(file);
            m_strPath = name;
            m_pending = "\xEF\xBB\xBF";
            m_bWriteFailed = false;
            ::LeaveCriticalSection(&m_lock);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

void CDiagnosticLog::Close() {
    ::EnterCriticalSection(&m_lock);
    FlushLocked();
    m_file.Close();
    m_strPath.clear();
    ::LeaveCriticalSection(&m_lock);
}

bool CDiagnosticLog::IsOpen() const {
    ::EnterCriticalSection(&m_lock);
    const bool open = m_file.IsValid();
    ::LeaveCriticalSection(&m_lock);
    return open;
}

bool CDiagnosticLog::WriteFailed() const {
    ::EnterCriticalSection(&m_lock);
    const bool failed = m_bWriteFailed;
    ::LeaveCriticalSection(&m_lock);
    return failed;
}

void CDiagnosticLog::Write(const std::string& line) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    std::string text = stamp + ToUtf8(line) + "\r\n";
    ::EnterCriticalSection(&m_lock);
    if (m_file.IsValid()) {
        m_pending += text;
        if (m_pending.size() >= kBlock) FlushLocked();
    }
    ::LeaveCriticalSection(&m_lock);
}

void CDiagnosticLog::Flush() {
    ::EnterCriticalSection(&m_lock);
    FlushLocked();
    ::LeaveCriticalSection(&m_lock);
}

void CDiagnosticLog::FlushLocked() {
    if (!m_file.IsValid() || m_pending.empty()) return;
    // What a failed or short write left is tried once more.
    size_t done = 0;
    for (int attempt = 0; attempt < 2 && done < m_pending.size(); ++attempt) {
        DWORD written = 0;
        if (!::WriteFile(m_file, m_pending.data() + done,
                         static_cast<DWORD>(m_pending.size() - done), &written, NULL))
            written = 0;
        done += written;
    }
    if (done < m_pending.size()) m_bWriteFailed = true;
    m_pending.clear();
}

CDiagnosticLog& AfxGetLog() {
    static CDiagnosticLog log;
    return log;
}

void AfxLog(const char* format, ...) {
    CDiagnosticLog& log = AfxGetLog();
    if (!log.IsOpen()) return;  // saves the formatting; Write looks again
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        line.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    log.Write(line);
}

std::string AfxSystemMessage(DWORD error) {
    char* text = NULL;
    DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        NULL, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        NULL);
    std::string result = n && text ? std::string(text, n) : std::string();
    if (text) ::LocalFree(text);
    return result;
}

std::string AfxErrorText(DWORD error) {
    std::string result = AfxSystemMessage(error);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    char code[32];
    std::snprintf(code, sizeof(code), "%s(%lu)", result.empty() ? "" : " ",
                  static_cast<unsigned long>(error));
    return result + code;
}
