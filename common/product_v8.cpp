#include "product_v8.h"

#include "paths.h"

namespace v8 {

std::string ProgramPath(const std::string& destDir) {
    return JoinPath(destDir, kProgramFile);
}

std::string UninstallerPath(const std::string& destDir) {
    return JoinPath(destDir, kUninstallerFile);
}

std::string UninstallCommand(const std::string& destDir) {
    // A path with blanks is quoted, or the shell would split it.
    const std::string path = UninstallerPath(destDir);
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

std::string QuietUninstallCommand(const std::string& destDir) {
    return "\"" + UninstallerPath(destDir) + "\" /VERYSILENT";
}

std::string DisplayIcon(const std::string& destDir) {
    return UninstallerPath(destDir) + ",0";
}

std::string ShortcutIconPath(const std::string& destDir) {
    return JoinPath(destDir, kShortcutIconFile);
}

std::string HostShortcutArguments() {
    return std::string("/p \"") + kProfileName + "\" /t acad.dwt";
}

std::string HostShortcutName(int shortcutYear) {
    return "Quilmfor" + std::to_string(shortcutYear) + ".LNK";
}

}  // namespace v8
