// Self-deletion: a running program cannot delete its own file, so a small
// batch in the root of the current drive keeps trying until the program
// has ended, then removes the program's folder and itself.
#include <string>

#include "UninstallThread.h"
#include "UninstallCore.h"
#include "framework/AfxHandle.h"
#include "framework/AfxLog.h"
#include "framework/AfxModule.h"

void CUninstallThread::SelfDelete() {
    CHandle file(::CreateFileA(kSelfDeleteBatch, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL));
    if (!file.IsValid()) {
        AfxLog("self-deletion batch not written: %s", AfxErrorText(::GetLastError()).c_str());
        return;
    }
    std::string program = AfxGetModulePath();
    std::string script = SelfDeleteScript(program);
    // "del" passes over a read-only file (a program copied from a CD keeps
    // the attribute): the batch would then loop for ever.
    DWORD attributes = ::GetFileAttributesA(program.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesA(program.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    DWORD written = 0;
    ::WriteFile(file, script.data(), static_cast<DWORD>(script.size()), &written, NULL);
    file.Close();

    std::string commandLine = kSelfDeleteBatch;
    PROCESS_INFORMATION started = {};
    if (!m_pfnStartBatch || !m_pfnStartBatch(&commandLine[0], started)) {
        AfxLog("self-deletion batch not started: %s", AfxErrorText(::GetLastError()).c_str());
        return;
    }
    AfxLog("self-deletion batch started: %s for %s", kSelfDeleteBatch, program.c_str());
    CProcessHandles batch;
    batch.Attach(started);
    // The batch runs when nothing else wants the processor; we finish first.
    ::SetThreadPriority(batch.thread, THREAD_PRIORITY_IDLE);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    batch.process.Close();
    ::ResumeThread(batch.thread);
}

BOOL CUninstallThread::StartBatchProcess(LPSTR commandLine, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    return ::CreateProcessA(NULL, commandLine, NULL, NULL, FALSE,
                            CREATE_SUSPENDED | IDLE_PRIORITY_CLASS, NULL, "\\", &startup, &process);
}
