// What profile setup and detection need to know about a release beyond
// the release table: registry key paths, where "CurVer" is looked for, the
// base profiles whose search list the package profile extends, the search
// list itself and the menu file.  Platform-free.
#pragma once

#include <string>

#include "host_release.h"

enum HostStore { kUserStore, kMachineStore };

// Where a release's machine keys were found: the 32-bit view of
// HKEY_LOCAL_MACHINE, where a 32-bit AutoCAD writes (and every AutoCAD on
// 32-bit Windows), or the 64-bit view, which only a 64-bit AutoCAD has.
enum HostView { kHostView32, kHostView64 };

// The stores asked for "CurVer", in order, and whether the row's default
// product key is taken when none of them has it.
struct HostLookupOrder {
    int count;
    HostStore stores[2];
    bool useDefault;
};
HostLookupOrder LookupOrderOf(HostLookup lookup);

// "CurVer" of release, asked of the stores of lookup in order through
// read(store, releaseKeyPath, productKey), which returns whether the store
// has the value (taken as it is, even when empty).  When none has it,
// the row's default where the order allows one; otherwise false with the
// product key empty.
template <typename Read>
bool FindHostProductKey(const HostRelease& release, HostLookup lookup, Read read,
                        std::string& productKey);

// Where profile setup looks for the product key.  This differs from
// detection: from R17.0 on the machine store is asked too, and R15.0
// ends with an empty product key rather than "not installed".
HostLookup ProfileLookupOf(const HostRelease& release);

// Base profiles tried in order for the search list, ending with nullptr;
// R15.0 has none (its list names the AutoCAD folder instead).
const char* const* BaseProfilesOf(const HostRelease& release);

// The base list of a user who has no base profile of a release yet (who
// never started that AutoCAD): its own "support", "fonts", "help" and
// "express" folders, as the R15.0 list names them.  acadDir ends with "\".
std::string HostFallbackBaseList(const std::string& acadDir);

// "SOFTWARE\Autodesk\AutoCAD\R17.0": holds "CurVer".
std::string HostReleaseKeyPath(const HostRelease& release);

// "SOFTWARE\Autodesk\AutoCAD\R17.0\ACAD-5001:804": holds "AcadLocation"
// and "Location".
std::string HostProductKeyPath(const HostRelease& release, const std::string& productKey);

// "Software\Autodesk\AutoCAD\R17.0\ACAD-5001:804\Profiles\" + profile.
std::string HostProfileKeyPath(const HostRelease& release, const std::string& productKey,
                               const std::string& profile);

// The package's ARX folder for release, relative to the install folder:
// "Support\2010-12\32\arx" for a 32-bit AutoCAD, and the support group's
// "64" folder ("Support\2010-12\64\arx", "Support\2007-09\64\arx") for a
// 64-bit one, which only loads 64-bit modules.
std::string HostArxFolder(const HostRelease& release, HostView view);

// The package profile's "ACAD" search list: the package's own folders in
// front of baseList, which is kept whole; the ARX folder is view's.
// destDir and acadDir end with "\"; acadDir is used by R15.0 only,
// baseList by all others.
std::string HostSearchList(const HostRelease& release, const std::string& destDir,
                           const std::string& baseList, const std::string& acadDir,
                           HostView view = kHostView32);

// destDir + the package menu file without extension (R17.0 on), or empty
// text when the release gets no "MenuFile" value.
std::string HostMenuFile(const HostRelease& release, const std::string& destDir);

// Row number 0..9 of release in kHostReleases, or -1 for a row not from
// the table.
int HostReleaseIndex(const HostRelease& release);

// Implementation

template <typename Read>
bool FindHostProductKey(const HostRelease& release, HostLookup lookup, Read read,
                        std::string& productKey) {
    const std::string releaseKey = HostReleaseKeyPath(release);
    const HostLookupOrder order = LookupOrderOf(lookup);
    for (int i = 0; i < order.count; ++i) {
        if (read(order.stores[i], releaseKey, productKey)) return true;
    }
    productKey.clear();
    if (order.useDefault && release.defaultProductKey) {
        productKey = release.defaultProductKey;
        return true;
    }
    return false;
}
