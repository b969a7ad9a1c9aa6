#include "paths.h"

#include "mbcs.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.size() <= 2) return name;
    if (EndsWithSeparator(folder)) return folder + name;
    return folder + "\\" + name;
}

std::string WithTrailingBackslash(const std::string& folder) {
    return EndsWithChar(folder, '\\') ? folder : folder + "\\";
}

std::vector<std::string> FolderPathPrefixes(const std::string& path) {
    std::vector<size_t> cuts = SeparatorOffsets(path);
    if (!path.empty() && !EndsWithSeparator(path)) cuts.push_back(path.size());
    std::vector<std::string> prefixes;
    for (size_t cut : cuts) {
        if (cut == 0 || path[cut - 1] == ':') continue;
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
