#include "AfxRun.h"

#include <cstdio>

#include "AfxLog.h"

bool AfxBeginRun(const CommandLine& line, LPCSTR arguments, LPCSTR program, LPCSTR logName,
                 LPCSTR version, bool acceptsDir, int& exitCode) {
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

    const std::string help = CommandLineHelp(program, acceptsDir);
    if (line.help) {
        ::MessageBoxA(NULL, help.c_str(), program, MB_OK | MB_ICONINFORMATION);
        exitCode = kExitDone;
    } else if (!line.error.empty()) {
        AfxLog("%s", line.error.c_str());
        if (line.ui == kUiInteractive)
            ::MessageBoxA(NULL, (line.error + "\n\n" + help).c_str(), program,
                          MB_OK | MB_ICONERROR);
        exitCode = kExitBadCommandLine;
    } else {
        return true;
    }
    AfxEndRun(exitCode);
    return false;
}

int AfxEndRun(int exitCode) {
    AfxLog("exit code %d", exitCode);
    AfxGetLog().Close();
    return exitCode;
}

std::string AfxFailureNotice(const char* headline, const std::vector<std::string>& items) {
    const size_t kShown = 10;
    char text[256];
    std::snprintf(text, sizeof(text), headline, static_cast<int>(items.size()));
    std::string notice = std::string(text) + "\n\n";
    for (size_t i = 0; i < items.size() && i < kShown; ++i) notice += items[i] + "\n";
    if (items.size() > kShown) {
        std::snprintf(text, sizeof(text), "... 另有 %d 个\n",
                      static_cast<int>(items.size() - kShown));
        notice += text;
    }
    AfxGetLog().Flush();  // the person may open it at once
    const std::string& log = AfxGetLog().Path();
    if (!log.empty()) notice += "\n全部列在日志中:\n" + log;
    return notice;
}
