#include "MediumBuilder.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include "support/TestSupport.h"
#else
#include <sys/stat.h>

#include <cerrno>
#endif

namespace quilmtest {

namespace {

#ifdef _WIN32

bool MakeTree(const std::string& path) {
    return MakeFolders(path);
}

bool Store(const std::string& path, const std::string& content) {
    return WriteBytes(path, content);
}

bool CopyOver(const std::string& from, const std::string& to) {
    return ::CopyFileA(HostToWine(from).c_str(), to.c_str(), FALSE) != FALSE;
}

#else

bool MakeTree(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Store(const std::string& path, const std::string& content) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool written = fwrite(content.data(), 1, content.size(), f) == content.size();
    return (fclose(f) == 0) && written;
}

bool CopyOver(const std::string& from, const std::string& to) {
    FILE* in = fopen(from.c_str(), "rb");
    if (!in) return false;
    std::string content;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof(buffer), in)) > 0;) content.append(buffer, n);
    bool read = !ferror(in);
    fclose(in);
    return read && Store(to, content);
}

#endif

// Makes the folder path is in, when that is below the first rootLength
// bytes.  The trail byte of a double-byte character is never taken for a
// "\".
bool MakeParent(const std::string& path, size_t rootLength) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
#ifdef _WIN32
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
#endif
        if (path[i] == '\\' || path[i] == '/') last = i;
    }
    return last == std::string::npos || last < rootLength || MakeTree(path.substr(0, last));
}

}  // namespace

#ifdef _WIN32
const char MediumBuilder::kSeparator = '\\';
#else
const char MediumBuilder::kSeparator = '/';
#endif

namespace {

// path with the other system's separator turned into this one's.  "/" is
// never the trail byte of a double-byte character, and UTF-8 names hold
// no "\" but as a separator.
std::string Native(std::string path) {
    const char other = MediumBuilder::kSeparator == '\\' ? '/' : '\\';
    for (char& c : path)
        if (c == other) c = MediumBuilder::kSeparator;
    return path;
}

}  // namespace

MediumBuilder::MediumBuilder(const std::string& root) : m_root(Native(root)) {
    if (m_root.empty() || m_root.back() != kSeparator) m_root += kSeparator;
    m_ok = MakeTree(m_root.size() > 1 ? m_root.substr(0, m_root.size() - 1) : m_root);
}

std::string MediumBuilder::Path(const std::string& relative) const {
    return m_root + Native(relative);
}

bool MediumBuilder::Folder(const std::string& relative) {
    std::string path = Path(relative);
    while (path.size() > m_root.size() && path.back() == kSeparator) path.pop_back();
    return MakeTree(path);
}

bool MediumBuilder::File(const std::string& relative, const std::string& content) {
    const std::string path = Path(relative);
    return MakeParent(path, m_root.size()) && Store(path, content);
}

bool MediumBuilder::File(const std::string& relative) {
    return File(relative, "content of " + relative);
}

bool MediumBuilder::Copy(const std::string& relative, const std::string& from) {
    const std::string path = Path(relative);
    return MakeParent(path, m_root.size()) && CopyOver(from, path);
}

bool MediumBuilder::Bulk(const std::string& folder, int count, const std::string& content) {
    bool made = Folder(folder);
    for (int i = 0; i < count && made; ++i) {
        char name[32];
        snprintf(name, sizeof(name), "\\f%05d.dat", i);
        made = File(folder + name, content);
    }
    return made;
}

}  // namespace quilmtest
