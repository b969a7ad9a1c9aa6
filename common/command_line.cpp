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
    auto fault = [&line](const std::string& text) {
        if (line.error.empty()) line.error = text;
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
            else fault("/DIR 需要一个完整的路径 (例如 D:\\Quilm): " + value);
        } else {
            fault("无法识别的参数: " + token);
        }
    }
    return line;
}

std::string CommandLineHelp(const std::string& program, bool acceptsDir) {
    std::string text = program + " [/SILENT | /VERYSILENT]";
    if (acceptsDir) text += " [/DIR=\"文件夹\"]";
    text +=
        " [/LOG=\"文件\"]\n\n"
        "/SILENT\t不提问, 只显示进度\n"
        "/VERYSILENT\t不显示任何窗口\n";
    if (acceptsDir) text += "/DIR\t安装文件夹 (完整路径)\n";
    text +=
        "/LOG\t诊断日志文件 (默认在 %TEMP% 中)\n"
        "/? 或 /HELP\t显示本说明\n\n"
        "退出代码: 0 完成; 1 参数错误; 2 用户取消; 3 完成, 但有些项目失败 (见日志); 4 失败";
    return text;
}
