// Host CAD integration on the registry: finding the installed AutoCAD
// releases and their product keys, and making the package profile in a
// release for the current user.  Everything is read from and written to
// the registry; AutoCAD itself is never started or looked at on disk.
//
// A release's machine keys are looked for in both views of
// HKEY_LOCAL_MACHINE on 64-bit Windows: first the 32-bit view, with create
// semantics where the query asks for them (probing leaves every missing
// key it opened behind, empty: the release key in each store asked for
// "CurVer", the product key the location probe opened), then the 64-bit
// view of a 64-bit AutoCAD, which is only ever opened.
#pragma once

#include <string>

#include "common/host_profile.h"
#include "common/host_release.h"

// How a query opens its keys: with create semantics as Setup and the
// uninstaller always have, or only opening, so that a user's registry
// gets no key it did not have (the per-user program).
enum HostProbe { kProbeLeavesKeys, kProbeOpenOnly };

// An AutoCAD release found: its folder, ending with "\", and the view its
// machine keys are in, which tells whether it is a 64-bit program.
struct HostInstall {
    std::string folder;
    HostView view = kHostView32;
};

// "CurVer" of release (its product key) in one store (a machine store in
// view); false when missing.
bool ReadHostCurVer(const HostRelease& release, HostStore store, HostView view,
                    std::string& productKey, HostProbe probe = kProbeLeavesKeys);

// "CurVer" of release, asked of the stores of lookup in order; see
// FindHostProductKey.
bool ReadHostProductKey(const HostRelease& release, HostLookup lookup, HostView view,
                        std::string& productKey, HostProbe probe = kProbeLeavesKeys);

// Whether release is installed, and where.  A release in either view
// counts; the 32-bit view is asked first, the 64-bit one only on 64-bit
// Windows (AfxIsWindows64), where it exists.
bool FindHostRelease(const HostRelease& release, HostInstall& found,
                     HostProbe probe = kProbeLeavesKeys);

// Whether the installation in destDir (ending with "\") holds modules for
// the AutoCAD found: always for a 32-bit one, for a 64-bit one only where
// the install folder has the release's 64-bit ARX folder (HostArxFolder).
bool HostHasModulesFor(const HostRelease& release, const HostInstall& found,
                       const std::string& destDir);

// Makes the package profile of release for the current user: its search
// list puts the package's folders (destDir, ending with "\") in front of
// the base profile's list; found is the release's installation (its folder
// is used by R15.0, its view picks the ARX folder and the machine store's
// view).  A user without any base profile gets an empty base list, or,
// with kBaseWithFallback, the release's own folders (HostFallbackBaseList),
// so that the AutoCAD of a user who never started it still finds them;
// its queries then only open keys (kProbeOpenOnly).
enum HostBase { kBaseFromProfileOnly, kBaseWithFallback };
// True when every value was written.
bool CreateHostProfile(const HostRelease& release, const std::string& destDir,
                       const HostInstall& found, HostBase base = kBaseFromProfileOnly);
