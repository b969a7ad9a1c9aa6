// The diagnostic log: one per process, for people and support staff (the
// install record is another file).  UTF-8 with a byte-order mark, so that
// Notepad shows Chinese paths on any Windows; one line per event, each
// with its time.  Any thread may write.  Lines go out in blocks and at
// Close; writing while the log is not open does nothing.  A failed or
// short write is tried once more; what is still lost then is remembered
// (WriteFailed), for the program's exit code.
#pragma once

#include <windows.h>

#include <string>

#include "AfxHandle.h"

class CDiagnosticLog {
public:
    CDiagnosticLog();
    ~CDiagnosticLog();
    CDiagnosticLog(const CDiagnosticLog&) = delete;
    CDiagnosticLog& operator=(const CDiagnosticLog&) = delete;

    // Writes to path, replacing a file of that name.
    bool Open(const std::string& path);
    // Writes to a new file in the temporary folder, named by program, date
    // and sequence number ("QuilmSetup-20261208-001.log"); an earlier log
    // is never overwritten.
    bool OpenNew(const std::string& program);
    void Close();
    bool IsOpen() const;
    // Whether lines were lost since the log was opened: a write that failed
    // twice.  Kept after Close, until the next Open.
    bool WriteFailed() const;
    // The file's path; empty when no log is open.
    const std::string& Path() const { return m_strPath; }

    // One line of text in the system code page.
    void Write(const std::string& line);
    // Writes what is waiting now (before a question that may be the last
    // thing a person sees, and at the end).
    void Flush();

private:
    void FlushLocked();

    mutable CRITICAL_SECTION m_lock;
    CHandle m_file;
    std::string m_strPath;
    std::string m_pending;  // UTF-8 lines not yet written
    bool m_bWriteFailed = false;
};

CDiagnosticLog& AfxGetLog();
// Writes a printf-style line to the process's log.
void AfxLog(const char* format, ...);
// The system's text for an error code, as FormatMessageA gives it (line
// end included).
std::string AfxSystemMessage(DWORD error);
// The same without the line end, followed by the code: "拒绝访问。 (5)".
std::string AfxErrorText(DWORD error);
