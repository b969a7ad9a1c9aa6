#include "record_scope.h"

#include <cstring>

#include "mbcs.h"
#include "paths.h"

namespace {

// The pieces of text between the single-byte occurrences of sep (and also
// "/" when sep is "\" in a path), empty pieces included.
std::vector<std::string> Pieces(const std::string& text, bool registryPath) {
    std::vector<std::string> pieces;
    std::string piece;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLeadByte936(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            piece += c;
            piece += text[++i];
        } else if (c == '\\' || (!registryPath && c == '/')) {
            pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    pieces.push_back(piece);
    return pieces;
}

// A component the system reads as the name written: no "." or "..", no
// character that no file name holds, no trailing dot or blank (which the
// system drops, naming another file).  Such characters are all below
// 0x40 but "|", and none of them is the trail byte of a character.
bool IsPlainComponent(const std::string& name) {
    if (name == "." || name == "..") return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte936(c) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (c < 0x20 || std::strchr("<>:\"|?*", static_cast<char>(c))) return false;
    }
    const char last = name.back();
    return last != '.' && last != ' ';
}

bool SameName(const std::string& a, const std::string& b) {
    return CompareNoCase936(a, b) == 0;
}

// a's components start with all of b's.
bool StartsWith(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() < b.size()) return false;
    for (size_t i = 0; i < b.size(); ++i)
        if (!SameName(a[i], b[i])) return false;
    return true;
}

bool IsInside(const SplitPath& path, const SplitPath& folder, bool orSame) {
    if (!SameName(path.root, folder.root)) return false;
    if (!StartsWith(path.components, folder.components)) return false;
    return orSame || path.components.size() > folder.components.size();
}

bool EndsWithNoCase(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return text.size() >= n && SameName(text.substr(text.size() - n), suffix);
}

}  // namespace

bool SplitAbsolutePath(const std::string& path, SplitPath& split) {
    split = SplitPath();
    std::vector<std::string> pieces = Pieces(path, false);
    size_t first = 0;  // the first piece after the root
    if (pieces.size() >= 4 && pieces[0].empty() && pieces[1].empty()) {
        // "\\server\share\...": neither "\\.\" nor "\\?\" (devices).
        const std::string& server = pieces[2];
        if (server.empty() || server == "." || server == "?" || pieces[3].empty()) return false;
        if (!IsPlainComponent(server) || !IsPlainComponent(pieces[3])) return false;
        split.root = "\\\\" + server + "\\" + pieces[3];
        first = 4;
    } else if (pieces.size() >= 2 && pieces[0].size() == 2 && pieces[0][1] == ':' &&
               ((pieces[0][0] >= 'A' && pieces[0][0] <= 'Z') ||
                (pieces[0][0] >= 'a' && pieces[0][0] <= 'z'))) {
        split.root = pieces[0];  // "D:" followed by a separator
        first = 1;
    } else {
        return false;  // relative, or rooted on the current drive
    }
    for (size_t i = first; i < pieces.size(); ++i) {
        if (pieces[i].empty()) continue;
        if (!IsPlainComponent(pieces[i])) return false;
        split.components.push_back(pieces[i]);
    }
    return true;
}

bool IsInsideFolder(const std::string& path, const std::string& folder, bool orSame) {
    SplitPath p, f;
    return SplitAbsolutePath(path, p) && SplitAbsolutePath(folder, f) && IsInside(p, f, orSame);
}

bool GivesFileScope(const std::string& installDir, const std::vector<std::string>& systemDirs) {
    SplitPath dir;
    if (!SplitAbsolutePath(installDir, dir) || dir.components.empty()) return false;
    for (const std::string& system : systemDirs) {
        SplitPath s;
        if (SplitAbsolutePath(system, s) && IsInside(dir, s, true) &&
            dir.components.size() == s.components.size())
            return false;
    }
    return true;
}

bool EntryInScope(const RecordScope& scope, RecordKind kind, const std::string& value,
                  std::string& base) {
    base.clear();
    SplitPath path;
    if (kind == kRegDbKey || !SplitAbsolutePath(value, path)) return false;
    SplitPath install;
    const bool hasInstall =
        !scope.installDir.empty() && SplitAbsolutePath(scope.installDir, install);
    if (hasInstall && IsInside(path, install, kind == kMadeDir)) {
        base = scope.installDir;
        return true;
    }
    if (kind != kFileCopy && kind != kMadeDir) return false;
    // The package's Start-menu folder: itself, and for files what is in it.
    for (const std::string& programs : scope.programsDirs) {
        SplitPath menu;
        if (!SplitAbsolutePath(JoinPath(programs, v8::kDisplayName), menu)) continue;
        if (IsInside(path, menu, true) &&
            (kind == kFileCopy || path.components.size() == menu.components.size())) {
            base = programs;
            return true;
        }
    }
    // A shortcut right inside a Desktop or Programs folder.
    if (kind != kFileCopy ||
        !EndsWithNoCase(path.components.empty() ? "" : path.components.back(), ".lnk"))
        return false;
    for (const std::vector<std::string>* dirs : {&scope.desktopDirs, &scope.programsDirs}) {
        for (const std::string& dir : *dirs) {
            SplitPath folder;
            if (SplitAbsolutePath(dir, folder) && IsInside(path, folder, false) &&
                path.components.size() == folder.components.size() + 1) {
                base = dir;
                return true;
            }
        }
    }
    return false;
}

bool KeyInScope(RecordRoot root, const std::string& keyPath) {
    if (root != kRootLocalMachine) return false;
    const std::vector<std::string> key = Pieces(keyPath, true);
    for (const std::string& piece : key)
        if (piece.empty()) return false;
    for (const char* scope : {v8::kProductKey, v8::kUninstallKey})
        if (StartsWith(key, Pieces(scope, true))) return true;
    return false;
}

std::vector<std::string> PathsBelow(const std::string& base, const std::string& path) {
    std::vector<std::string> paths;
    SplitPath b, p;
    if (!SplitAbsolutePath(base, b) || !SplitAbsolutePath(path, p) || !IsInside(p, b, true))
        return paths;
    std::string text = p.root;
    for (size_t i = 0; i < p.components.size(); ++i) {
        text += "\\" + p.components[i];
        if (i >= b.components.size()) paths.push_back(text);
    }
    return paths;
}
