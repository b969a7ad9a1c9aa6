#include "command_line.h"

#include <vector>

#include "mbcs.h"
#include "paths.h"
#include "record_scope.h"

namespace {

// Splits at blanks outside quotes; quotes group and are dropped.  A
// backslash is an ordinary character.  None of the bytes looked at can
// be the trail byte of a double-byte character.
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::string token;
    bool quoted = false, any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (any) tokens.push_back(token);
            token.clear();
            any = false;
        } else {
            token += c;
            any = true;
        }
    }
    if (any) tokens.push_back(token);
    return tokens;
}

bool Is(const std::string& name, const char* expected) {
    return CompareNoCase936(name, expected) == 0;
}

}  // namespace

CommandLine ParseCommandLine(const std::string& arguments, bool acceptsDir) {
    CommandLine line;
    // Every switch is read, so that the level of quiet is known even when
    // something else is wrong; the first fault is the one reported.
    auto fault = [&line](CommandLineFault kind, const std::string& offending) {
        if (line.fault != kFaultNone) return;
        line.fault = kind;
        line.offending = offending;
    };
    for (const std::string& token : Tokens(arguments)) {
        const size_t equals = token.find('=');
        const std::string name = token.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        const std::string value = hasValue ? token.substr(equals + 1) : std::string();
        if (Is(name, "/SILENT") && !hasValue) {
            if (line.ui == kUiInteractive) line.ui = kUiSilent;
        } else if (Is(name, "/VERYSILENT") && !hasValue) {
            line.ui = kUiVerySilent;
        } else if ((Is(name, "/?") || Is(name, "/HELP")) && !hasValue) {
            line.help = true;
        } else if (Is(name, "/LOG") && hasValue && !value.empty()) {
            line.log = value;
        } else if (Is(name, "/DIR") && acceptsDir && hasValue) {
            SplitPath split;
            if (SplitAbsolutePath(value, split)) line.dir = WithTrailingBackslash(value);
            else fault(kFaultDirNotAbsolute, value);
        } else {
            fault(kFaultUnknownSwitch, token);
        }
    }
    return line;
}

std::string ArgumentsOf(const std::string& commandLine) {
    const size_t n = commandLine.size();
    auto isBlank = [&commandLine](size_t i) {
        return commandLine[i] == ' ' || commandLine[i] == '\t';
    };
    auto next = [&commandLine, n](size_t i) {
        return IsLeadByte936(static_cast<unsigned char>(commandLine[i])) && i + 1 < n ? i + 2
                                                                                      : i + 1;
    };
    size_t i = 0;
    if (n > 0 && commandLine[0] == '"') {
        i = 1;
        while (i < n && commandLine[i] != '"') i = next(i);
        if (i < n) ++i;  // the closing quote
    } else {
        while (i < n && !isBlank(i)) i = next(i);
    }
    while (i < n && isBlank(i)) ++i;
    return commandLine.substr(i);
}
