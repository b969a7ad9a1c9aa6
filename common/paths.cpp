#include "paths.h"

#include <cstring>

#include "mbcs.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.size() <= 2) return name;
    if (EndsWithSeparator(folder)) return folder + name;
    return folder + "\\" + name;
}

std::string WithTrailingBackslash(const std::string& folder) {
    return EndsWithChar(folder, '\\') ? folder : folder + "\\";
}

size_t PathRootLength(const std::string& path) {
    const std::vector<size_t> separators = SeparatorOffsets(path);
    auto startsWith = [&path](const char* text) {
        return path.compare(0, strlen(text), text) == 0;
    };
    // "\\?\UNC\server\share", "\\?\D:": the part before the server, or
    // the drive's own rule.
    size_t first = 0;
    if (startsWith("\\\\?\\UNC\\")) first = 2;
    else if (startsWith("\\\\?\\")) return 4;
    else if (separators.size() < 2 || separators[0] != 0 || separators[1] != 1) return 0;
    // Server and share: up to the separator after the share, or the end.
    const size_t share = first + 2;
    return share + 1 < separators.size() ? separators[share + 1] : path.size();
}

std::vector<std::string> FolderPathPrefixes(const std::string& path) {
    std::vector<size_t> cuts = SeparatorOffsets(path);
    if (!path.empty() && !EndsWithSeparator(path)) cuts.push_back(path.size());
    const size_t root = PathRootLength(path);
    std::vector<std::string> prefixes;
    for (size_t cut : cuts) {
        if (cut == 0 || cut <= root || path[cut - 1] == ':') continue;
        prefixes.push_back(path.substr(0, cut));
    }
    return prefixes;
}

std::string TrimBlanks(const std::string& text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}
