#include "UninstallCore.h"

#include "common/mbcs.h"

std::string DataSourceAttributes(const std::string& installDir) {
    // One template with each pair ended by 0x01 and one more 0x01 at the
    // end; the second pair's value is "土地整理Quilm" in code page 936,
    // spelled as bytes so the native build yields the same list.
    std::string text =
        "DSN=Quilm\001"
        "Corvantix=\xCD\xC1\xB5\xD8\xD5\xFB\xC0\xEDQuilm\001"
        "DBQ=%s\001"
        "FIL=MS Access\001"
        "UID=Corvantix\001"
        "PWD=Wendabrix52081736409\001\001";
    // Built as a string of its own length: an install folder of any
    // length fits, nothing is cut.
    text.replace(text.find("%s"), 2, installDir + "Database\\Quilm.mdb");
    for (char& c : text) {
        if (c == '\001') c = '\0';
    }
    return text;
}

std::string ProgramFolder(const std::string& programPath) {
    size_t last = std::string::npos;
    for (size_t offset : SeparatorOffsets(programPath)) {
        if (programPath[offset] == '\\') last = offset;
    }
    return last == std::string::npos ? programPath : programPath.substr(0, last);
}

std::string CmdQuoted(const std::string& path) {
    // No trail byte of code page 936 is "%" (0x25), so doubling bytes is
    // safe in double-byte text.
    std::string quoted = "\"";
    for (char c : path) {
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return quoted + "\"";
}

std::string SelfDeleteScript(const std::string& programPath, const std::string& batchPath,
                             const std::string& logPath, const std::string& systemFolder,
                             int tries) {
    const std::string program = CmdQuoted(programPath);
    std::string script =
        "@echo off\r\n"
        "setlocal DisableDelayedExpansion\r\n"
        "set /a tries=0\r\n"
        ":Repeat\r\n"
        "del " +
        program +
        "\r\n"
        "del \"Filedelr.avi\"\r\n"
        "if not exist " +
        program +
        " goto Removed\r\n"
        "set /a tries+=1\r\n"
        "if %tries% geq " +
        std::to_string(tries) + " goto GiveUp\r\n" +
        // cmd looks for a program named without its path in the current
        // folder first: the wait names the system's own by its full path.
        CmdQuoted(systemFolder + "\\PING.EXE") +
        " -n 2 127.0.0.1 >nul\r\n"
        "goto Repeat\r\n"
        ":GiveUp\r\n";
    if (!logPath.empty())
        script += "echo self-deletion given up after " + std::to_string(tries) +
                  " tries: the program could not be deleted>>" + CmdQuoted(logPath) + "\r\n";
    script +=
        "goto End\r\n"
        ":Removed\r\n"
        "rmdir " +
        CmdQuoted(ProgramFolder(programPath)) +
        "\r\n"
        ":End\r\n"
        // The batch's own folder is cmd's current folder until here; a
        // folder that is some process's current folder cannot be removed.
        "cd /d " +
        CmdQuoted(systemFolder) +
        "\r\n"
        // One line: cmd has read it whole before the file goes.
        "(del " +
        CmdQuoted(batchPath) + ") & rmdir " + CmdQuoted(ProgramFolder(batchPath)) + "\r\n";
    return script;
}
