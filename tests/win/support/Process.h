// A program a test starts: waited for with a bound, its exit code read,
// and ended at destruction when a failed test left it running.
#pragma once

#include <windows.h>

#include <string>

namespace quilmtest {

const DWORD kWait = 15000;      // for a window or a program to react
const DWORD kJobWait = 120000;  // for a whole copy or uninstall

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts exe ("\"exe\" arguments") from folder, drive C: by default
    // (a host folder would be Z:).  False, with GetLastError, when it
    // could not start.
    bool Start(const std::string& exe, const std::string& arguments = std::string(),
               const char* folder = "C:\\");
    // Starts a whole command line, as the shell runs a registered one.
    bool StartCommand(std::string commandLine, const char* folder = "C:\\");

    bool started() const { return m_pi.hProcess != NULL; }
    DWORD id() const { return m_pi.dwProcessId; }
    HANDLE handle() const { return m_pi.hProcess; }
    // True when the program ended within timeoutMs.
    bool Wait(DWORD timeoutMs) const;
    // Its exit code after Wait(timeoutMs); 0xFFFFFFFF when it is still
    // running then.
    DWORD ExitCode(DWORD timeoutMs = 0) const;
    // Ends the program if it still runs and waits for it; true when it
    // was still running.
    bool Kill();

private:
    PROCESS_INFORMATION m_pi = {};
};

// Waits up to timeoutMs for the program's end, looking at its top-level
// windows every few milliseconds.  False when it did not end, or when one
// of its windows was visible at a look; seen then names that window.
bool WaitUnseen(const ChildProcess& child, DWORD timeoutMs, std::string& seen);

// Whether a process of the program exeName ("PING.EXE", any case) runs.
bool ProgramRunning(const char* exeName);

// A diagnostic log (UTF-8 with a byte-order mark) as text in the system
// code page, so that paths compare as the programs write them; empty when
// the file is missing or has no mark.
std::string ReadLog(const std::string& path);

// Runs exe from drive C: to its end within timeoutMs; its exit code,
// 0xFFFFFFFF when it did not start, 0xFFFFFFFE when it had to be ended.
DWORD RunProgram(const std::string& exe, const std::string& arguments, DWORD timeoutMs);

// Carries out what waits for the next restart (the moves and deletions in
// PendingFileRenameOperations), as wineboot's restart does; true when it ran.
bool CompleteRestart();

}  // namespace quilmtest
