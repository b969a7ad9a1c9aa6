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

std::string SelfDeleteScript(const std::string& programPath) {
    const std::string quoted = "\"" + programPath + "\"";
    return ":Repeat\r\n"
           "del " +
           quoted +
           "\r\n"
           "del \"Filedelr.avi\"\r\n"
           "if exist " +
           quoted +
           " goto Repeat\r\n"
           "rmdir \"" +
           ProgramFolder(programPath) +
           "\"\r\n"
           "del \"" +
           std::string(kSelfDeleteBatch) + "\"\r\n";
}
