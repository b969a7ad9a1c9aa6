#include "AfxRun.h"

#include <cstdio>

#include "AfxLog.h"
#include "AfxRes.h"

CString AfxCommandLineError(const CommandLine& line) {
    CString text;
    switch (line.fault) {
    case kFaultNone: break;
    case kFaultUnknownSwitch: text.Format(AFX_IDS_UNKNOWN_SWITCH, line.offending.c_str()); break;
    case kFaultDirNotAbsolute: text.Format(AFX_IDS_DIR_NOT_ABSOLUTE, line.offending.c_str()); break;
    }
    return text;
}

bool AfxHoldRunMutex() {
    static HANDLE mutex = NULL;
    if (mutex) return true;
    // Held until the process ends; the system releases it then, also
    // after a crash.
    HANDLE made = ::CreateMutexA(NULL, FALSE, kRunMutexName);
    DWORD error = ::GetLastError();
    // Made by another user's run, it may be denied to this one: it runs.
    if (!made) return error != ERROR_ACCESS_DENIED;
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(made);
        return false;
    }
    mutex = made;
    return true;
}

bool AfxBeginRun(const CommandLine& line, LPCSTR arguments, LPCSTR program, LPCSTR logName,
                 LPCSTR version, int& exitCode) {
    CDiagnosticLog& log = AfxGetLog();
    // A /LOG file that cannot be written gives way to one in %TEMP%.
    DWORD logError = ERROR_SUCCESS;
    if (!line.log.empty() && !log.Open(line.log)) logError = ::GetLastError();
    if (!log.IsOpen()) log.OpenNew(logName);
    AfxLog("%s %s", program, version);
    AfxLog("command line: %s", arguments ? arguments : "");
    if (logError != ERROR_SUCCESS)
        AfxLog("the log could not be written to %s: %s", line.log.c_str(),
               AfxErrorText(logError).c_str());

    // Unattended, the system's own boxes must not wait for a person either
    // (no disc in the drive, a damaged medium).
    if (line.ui != kUiInteractive)
        ::SetErrorMode(::SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    const CString help = AfxLoadString(AFX_IDS_COMMAND_LINE_HELP);
    if (line.help) {
        ::MessageBoxA(NULL, help, program, MB_OK | MB_ICONINFORMATION);
        exitCode = kExitDone;
    } else if (line.fault != kFaultNone) {
        const CString error = AfxCommandLineError(line);
        AfxLog("%s", static_cast<LPCSTR>(error));
        if (line.ui == kUiInteractive)
            ::MessageBoxA(NULL, error + "\n\n" + help, program, MB_OK | MB_ICONERROR);
        exitCode = kExitBadCommandLine;
    } else if (!AfxHoldRunMutex()) {
        AfxLog("another installation or uninstallation is running: nothing done");
        if (line.ui == kUiInteractive)
            ::MessageBoxA(NULL, AfxLoadString(AFX_IDS_ANOTHER_RUNNING), program,
                          MB_OK | MB_ICONWARNING);
        exitCode = kExitAnotherRunning;
    } else {
        return true;
    }
    AfxEndRun(exitCode);
    return false;
}

int AfxEndRun(int exitCode) {
    CDiagnosticLog& log = AfxGetLog();
    // Lines the log lost make a run that went well one with a failed item.
    log.Flush();
    if (exitCode == kExitDone && log.WriteFailed()) exitCode = kExitSomeFailed;
    AfxLog("exit code %d", exitCode);
    log.Close();
    if (exitCode == kExitDone && log.WriteFailed()) exitCode = kExitSomeFailed;
    return exitCode;
}

std::string AfxFailureNotice(const char* headline, const std::vector<std::string>& items) {
    const size_t kShown = 10;
    char text[256];
    std::snprintf(text, sizeof(text), headline, static_cast<int>(items.size()));
    std::string notice = std::string(text) + "\n\n";
    for (size_t i = 0; i < items.size() && i < kShown; ++i) notice += items[i] + "\n";
    if (items.size() > kShown) {
        CString more;
        more.Format(AFX_IDS_MORE_ITEMS, static_cast<int>(items.size() - kShown));
        notice += more.str() + "\n";
    }
    AfxGetLog().Flush();  // the person may open it at once
    const std::string& log = AfxGetLog().Path();
    if (!log.empty()) notice += "\n" + AfxLoadString(AFX_IDS_LOG_LEAD).str() + "\n" + log;
    return notice;
}
