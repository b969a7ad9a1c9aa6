#include "WizardFlow.h"

#include "common/mbcs.h"
#include "common/paths.h"

SlideFit FitSlide(double ratio) {
    SlideFit fit;
    if (ratio > 0.75) {  // taller than 4:3
        fit.height = kCanvasHeight;
        fit.width = static_cast<int>(kCanvasHeight / ratio);
        fit.x = (kCanvasWidth - fit.width) / 2;
        fit.y = 0;
    } else {  // 4:3 or wider
        fit.width = kCanvasWidth;
        fit.height = static_cast<int>(ratio * kCanvasWidth);
        fit.x = 0;
        fit.y = (kCanvasHeight - fit.height) / 2;
    }
    return fit;
}

int SlideToShow(int index, int count) {
    return index >= count || index < 0 ? 0 : index;
}

namespace {

// Offset of the last single-byte backslash (never a trail byte), or npos.
size_t LastBackslash(const std::string& text) {
    size_t last = std::string::npos;
    for (size_t offset : SeparatorOffsets(text))
        if (text[offset] == '\\') last = offset;
    return last;
}

// Offset of the first occurrence of sub in text that starts on a character
// boundary, or npos.
size_t FindOnCharBoundary(const std::string& text, const std::string& sub) {
    if (sub.empty()) return 0;
    for (size_t i = 0; i + sub.size() <= text.size();) {
        if (text.compare(i, sub.size(), sub) == 0) return i;
        i += IsLeadByte936(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return std::string::npos;
}

}  // namespace

std::string FolderOfProgram(const std::string& programPath) {
    size_t cut = LastBackslash(programPath);
    return cut == std::string::npos ? programPath : programPath.substr(0, cut);
}

bool IsPlausibleDestination(const std::string& text) {
    return !text.empty() && LastBackslash(text) != std::string::npos;
}

DestinationKind ClassifyDestination(const std::string& dest,
                                    const std::vector<std::string>& systemFolders) {
    std::string folder = TrimBlanks(dest);
    while (EndsWithSeparator(folder)) folder.erase(LastCharOffset(folder));
    if (folder.size() == 2 && folder[1] == ':') return kDestDriveRoot;
    if (!folder.empty() && PathRootLength(folder) == folder.size()) return kDestDriveRoot;
    for (const std::string& system : systemFolders) {
        std::string other = TrimBlanks(system);
        while (EndsWithSeparator(other)) other.erase(LastCharOffset(other));
        if (!other.empty() && CompareNoCase936(folder, other) == 0) return kDestSystemFolder;
    }
    return kDestOrdinary;
}

std::string BrowsedDestination(const std::string& chosen) {
    return WithTrailingBackslash(chosen) + "Corvantix\\Quilm";
}

std::string ProgressLine(const std::string& path, const std::string& destDir) {
    std::string line = path + " ...";
    size_t at = FindOnCharBoundary(line, destDir);
    if (!destDir.empty() && at != std::string::npos) line.erase(0, at + destDir.size());
    return line;
}

std::string NormalizedFolder(const std::string& folder) {
    return WithTrailingBackslash(TrimBlanks(folder));
}
