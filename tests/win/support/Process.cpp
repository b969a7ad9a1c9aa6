#include "Process.h"

namespace quilmtest {

ChildProcess::~ChildProcess() {
    Kill();
    if (!started()) return;
    ::CloseHandle(m_pi.hProcess);
    ::CloseHandle(m_pi.hThread);
}

bool ChildProcess::Start(const std::string& exe, const std::string& arguments, const char* folder) {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    return ::CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder, &si,
                            &m_pi) != FALSE;
}

bool ChildProcess::StartCommand(std::string commandLine, const char* folder) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    return ::CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder, &si,
                            &m_pi) != FALSE;
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

DWORD RunProgram(const std::string& exe, const std::string& arguments, DWORD timeoutMs) {
    ChildProcess child;
    if (!child.Start(exe, arguments)) return 0xFFFFFFFF;
    return child.Wait(timeoutMs) ? child.ExitCode() : 0xFFFFFFFE;
}

}  // namespace quilmtest
