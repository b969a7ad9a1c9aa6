#include "host_profile.h"

namespace {

const char* const kUnnamedFirst[] = {"<<未命名配置>>", "<<Unnamed Profile>>", nullptr};
const char* const kInitialFirst[] = {"初始设置配置", "<<初始设置配置>>", "<<未命名配置>>", nullptr};
const char* const kNoBase[] = {nullptr};

// Search list formats: the first "%s" takes the destination folder with
// the ARX folder (arx), each later one the next filler, in order.  The
// fillers are the destination folder (dest times in all), then the
// AutoCAD folder (acad times, R15.0) or the base search list (once, later
// rows).
struct SearchListFormat {
    const char* arx;
    const char* format;
    int dest;
    int acad;
};
const SearchListFormat kR15List = {"Support\\2000-02\\arx",
                                   "%s;%sSupport\\2000-02\\Menu;%s填充图案;"
                                   "%ssupport;%sfonts;%shelp;%sexpress;",
                                   3, 4};
const SearchListFormat kR16List = {"Support\\2004-06\\arx",
                                   "%s;%sSupport\\2004-06\\Menu;%s填充图案;%s;", 3, 0};
const SearchListFormat kR17List = {"Support\\2007-09\\arx",
                                   "%s;%sSupport\\2007-09\\Menu;%s填充图案;%s;", 3, 0};
const SearchListFormat kR18List = {"Support\\2010-12\\32\\arx", "%s;%sSupport\\2010-12\\Menu;%s;",
                                   2, 0};

struct ProfileRow {
    HostLookup lookup;
    const char* const* baseProfiles;
    const SearchListFormat* searchList;
    const char* menuFile;
};

// Parallel to kHostReleases, row for row.
const ProfileRow kProfileRows[kHostReleaseCount] = {
    {kLookupMachineThenUser, kNoBase, &kR15List, nullptr},
    {kLookupUserThenMachineThenDefault, kUnnamedFirst, &kR16List, nullptr},
    {kLookupUserThenDefault, kUnnamedFirst, &kR16List, nullptr},
    {kLookupUserThenDefault, kUnnamedFirst, &kR16List, nullptr},
    {kLookupUserThenMachineThenDefault, kUnnamedFirst, &kR17List, "Support\\2007-09\\Menu\\Quilm"},
    {kLookupUserThenMachineThenDefault, kUnnamedFirst, &kR17List, "Support\\2007-09\\Menu\\Quilm"},
    {kLookupUserThenMachineThenDefault, kUnnamedFirst, &kR17List, "Support\\2007-09\\Menu\\Quilm"},
    {kLookupUserThenMachineThenDefault, kInitialFirst, &kR18List, "Support\\2010-12\\Menu\\Quilm"},
    {kLookupUserThenMachineThenDefault, kInitialFirst, &kR18List, "Support\\2010-12\\Menu\\Quilm"},
    {kLookupUserThenMachineThenDefault, kInitialFirst, &kR18List, "Support\\2010-12\\Menu\\Quilm"},
};

const ProfileRow* RowOf(const HostRelease& release) {
    int index = HostReleaseIndex(release);
    return index < 0 ? nullptr : &kProfileRows[index];
}

}  // namespace

int HostReleaseIndex(const HostRelease& release) {
    for (int i = 0; i < kHostReleaseCount; ++i)
        if (&kHostReleases[i] == &release) return i;
    return -1;
}

HostLookupOrder LookupOrderOf(HostLookup lookup) {
    switch (lookup) {
    case kLookupMachineThenUser: return {2, {kMachineStore, kUserStore}, false};
    case kLookupUserThenMachineThenDefault: return {2, {kUserStore, kMachineStore}, true};
    case kLookupMachineOnly: return {1, {kMachineStore, kMachineStore}, false};
    case kLookupUserThenDefault:
    default: return {1, {kUserStore, kUserStore}, true};
    }
}

HostLookup ProfileLookupOf(const HostRelease& release) {
    const ProfileRow* row = RowOf(release);
    return row ? row->lookup : release.lookup;
}

const char* const* BaseProfilesOf(const HostRelease& release) {
    const ProfileRow* row = RowOf(release);
    return row ? row->baseProfiles : kNoBase;
}

std::string HostFallbackBaseList(const std::string& acadDir) {
    return acadDir + "support;" + acadDir + "fonts;" + acadDir + "help;" + acadDir + "express";
}

std::string HostReleaseKeyPath(const HostRelease& release) {
    return std::string("SOFTWARE\\Autodesk\\AutoCAD\\") + release.releaseKey;
}

std::string HostProductKeyPath(const HostRelease& release, const std::string& productKey) {
    return HostReleaseKeyPath(release) + "\\" + productKey;
}

std::string HostProfileKeyPath(const HostRelease& release, const std::string& productKey,
                               const std::string& profile) {
    return std::string("Software\\Autodesk\\AutoCAD\\") + release.releaseKey + "\\" + productKey +
           "\\Profiles\\" + profile;
}

std::string HostArxFolder(const HostRelease& release, HostView view) {
    const ProfileRow* row = RowOf(release);
    if (!row) return std::string();
    if (view == kHostView64) return std::string("Support\\") + release.supportGroup + "\\64\\arx";
    return row->searchList->arx;
}

std::string HostSearchList(const HostRelease& release, const std::string& destDir,
                           const std::string& baseList, const std::string& acadDir, HostView view) {
    const ProfileRow* row = RowOf(release);
    if (!row) return std::string();
    const SearchListFormat& list = *row->searchList;
    // Built by concatenation, so a base list of any length is kept whole.
    std::string result;
    int filler = 0;
    for (const char* p = list.format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (filler == 0) result += destDir + HostArxFolder(release, view);
            else if (filler < list.dest) result += destDir;
            else if (list.acad > 0) result += acadDir;
            else result += baseList;
            ++filler;
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}

std::string HostMenuFile(const HostRelease& release, const std::string& destDir) {
    const ProfileRow* row = RowOf(release);
    if (!row || !row->menuFile) return std::string();
    return destDir + row->menuFile;
}
