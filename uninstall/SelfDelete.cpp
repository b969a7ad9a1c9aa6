// Self-deletion: a running program cannot delete its own file, so a small
// batch keeps trying until the program has ended, then removes the
// program's folder and itself.  The batch lies in a folder of its own,
// made for this run with an unguessable name in the temporary folder of
// the account that runs us, and only SYSTEM, Administrators and that
// account may change either: cmd runs its lines with our rights.  cmd runs
// in that folder, so a name it looks up there finds nothing another
// account put in place, and the only program it starts is named by its
// full path in the system folder.
#define WIN32_NO_STATUS
#include <windows.h>
#undef WIN32_NO_STATUS
#include <ntsecapi.h>

#include <string>

#include "UninstallThread.h"
#include "UninstallCore.h"
#include "common/paths.h"
#include "framework/AfxHandle.h"
#include "framework/AfxLog.h"
#include "framework/AfxModule.h"
#include "framework/AfxSecurity.h"

namespace {

// A name no other account can guess ahead of us: 64 random bits.
std::string RandomFolderName() {
    unsigned char bits[8] = {};
    ::RtlGenRandom(bits, sizeof(bits));
    std::string name = "QuilmUninstall-";
    for (unsigned char b : bits) {
        name += "0123456789abcdef"[b >> 4];
        name += "0123456789abcdef"[b & 15];
    }
    return name;
}

// True when the object at path, opened without following a link, is not
// a reparse point.
bool IsPlainObject(const std::string& path) {
    CHandle object(::CreateFileA(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        NULL, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL));
    BY_HANDLE_FILE_INFORMATION info = {};
    return object.IsValid() && ::GetFileInformationByHandle(object, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The system folder as the system names it to us, without trailing "\";
// empty when it is not known.
std::string SystemFolder() {
    char system[MAX_PATH + 1] = {};
    UINT n = ::GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system, n < MAX_PATH ? n : 0);
}

}  // namespace

std::string CUninstallThread::SelfDeleteDacl() {
    return "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + AfxProcessUserSid() + ")";
}

std::string CUninstallThread::WriteSelfDeleteBatch(const std::string& program, int tries) {
    const std::string system = SystemFolder();
    if (system.empty()) {
        AfxLog("self-deletion batch not written: no system folder: %s",
               AfxErrorText(::GetLastError()).c_str());
        return std::string();
    }
    CSecurityDescriptor descriptor = AfxDescriptorFromSddl(SelfDeleteDacl());
    if (!descriptor.IsValid()) {
        AfxLog("self-deletion batch not written: no access list: %s",
               AfxErrorText(::GetLastError()).c_str());
        return std::string();
    }
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor, FALSE};
    char temp[MAX_PATH + 1] = {};
    DWORD length = ::GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length > MAX_PATH) {
        AfxLog("self-deletion batch not written: no temporary folder: %s",
               AfxErrorText(::GetLastError()).c_str());
        return std::string();
    }
    // A new folder: one that exists already, whoever made it, is never used.
    std::string folder;
    DWORD error = ERROR_ALREADY_EXISTS;
    for (int attempt = 0; attempt < 8 && error == ERROR_ALREADY_EXISTS; ++attempt) {
        folder = JoinPath(temp, RandomFolderName());
        error = ::CreateDirectoryA(folder.c_str(), &security) ? ERROR_SUCCESS : ::GetLastError();
    }
    if (error != ERROR_SUCCESS || !IsPlainObject(folder)) {
        AfxLog("self-deletion folder not made: %s: %s", folder.c_str(),
               AfxErrorText(error != ERROR_SUCCESS ? error : ERROR_CANT_ACCESS_FILE).c_str());
        return std::string();
    }
    const std::string batch = JoinPath(folder, kSelfDeleteBatch);
    const std::string script = SelfDeleteScript(program, batch, AfxGetLog().Path(), system, tries);
    // CREATE_NEW never opens what has the name already, nor follows a link.
    CHandle file(::CreateFileA(batch.c_str(), GENERIC_WRITE, 0, &security, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, NULL));
    DWORD written = 0;
    if (!file.IsValid() ||
        !::WriteFile(file, script.data(), static_cast<DWORD>(script.size()), &written, NULL) ||
        written != script.size()) {
        AfxLog("self-deletion batch not written: %s: %s", batch.c_str(),
               AfxErrorText(::GetLastError()).c_str());
        file.Close();
        ::DeleteFileA(batch.c_str());
        ::RemoveDirectoryA(folder.c_str());
        return std::string();
    }
    return batch;
}

void CUninstallThread::SelfDelete() {
    const std::string program = AfxGetModulePath();
    const std::string batch = WriteSelfDeleteBatch(program, m_selfDeleteTries);
    if (batch.empty()) {
        // The program stays: listed for removal by hand.
        m_failures.push_back(program);
        AfxLog("left behind: %s", program.c_str());
        return;
    }
    // "del" passes over a read-only file (a program copied from a CD keeps
    // the attribute): the batch would then loop until it gives up.
    DWORD attributes = ::GetFileAttributesA(program.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesA(program.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);

    const std::string cmd = JoinPath(SystemFolder(), "cmd.exe");
    const std::string folder = ProgramFolder(batch);
    // /d: no AutoRun commands; /v:off: "!" stays literal; /c "..." keeps
    // the quoted batch path whole.
    std::string commandLine = "\"" + cmd + "\" /d /v:off /c \"\"" + batch + "\"\"";
    PROCESS_INFORMATION started = {};
    if (!m_pfnStartBatch ||
        !m_pfnStartBatch(cmd.c_str(), &commandLine[0], folder.c_str(), started)) {
        AfxLog("self-deletion batch not started: %s", AfxErrorText(::GetLastError()).c_str());
        return;
    }
    AfxLog("self-deletion batch started: %s for %s", batch.c_str(), program.c_str());
    CProcessHandles handles;
    handles.Attach(started);
    // The batch runs when nothing else wants the processor; we finish first.
    ::SetThreadPriority(handles.thread, THREAD_PRIORITY_IDLE);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    handles.process.Close();
    ::ResumeThread(handles.thread);
}

BOOL CUninstallThread::StartBatchProcess(LPCSTR application, LPSTR commandLine,
                                         LPCSTR currentFolder, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    // CREATE_NO_WINDOW: cmd gets no console at all, so nothing shows even
    // where SW_HIDE is not honoured for a console window.
    return ::CreateProcessA(application, commandLine, NULL, NULL, FALSE,
                            CREATE_SUSPENDED | CREATE_NO_WINDOW | IDLE_PRIORITY_CLASS, NULL,
                            currentFolder, &startup, &process);
}
