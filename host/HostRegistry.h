// Host CAD integration on the registry: finding the installed AutoCAD
// releases and their product keys, and making the package profile in a
// release for the current user.  Everything is read from and written to
// the registry; AutoCAD itself is never started or looked at on disk.
//
// The queries open their keys with create semantics: probing leaves every
// missing key it opened behind, empty (the release key in each store asked
// for "CurVer", the product key the location probe opened).
#pragma once

#include <string>

#include "common/host_profile.h"
#include "common/host_release.h"

// How a query opens its keys: with create semantics as Setup and the
// uninstaller always have, or only opening, so that a user's registry
// gets no key it did not have (the per-user program).
enum HostProbe { kProbeLeavesKeys, kProbeOpenOnly };

// "CurVer" of release (its product key) in one store; false when missing.
bool ReadHostCurVer(const HostRelease& release, HostStore store, std::string& productKey,
                    HostProbe probe = kProbeLeavesKeys);

// "CurVer" of release, asked of the stores of lookup in order; see
// FindHostProductKey.
bool ReadHostProductKey(const HostRelease& release, HostLookup lookup, std::string& productKey,
                        HostProbe probe = kProbeLeavesKeys);

// Whether release is installed, and its folder, ending with "\".
bool FindHostRelease(const HostRelease& release, std::string& folder,
                     HostProbe probe = kProbeLeavesKeys);

// Makes the package profile of release for the current user: its search
// list puts the package's folders (destDir, ending with "\") in front of
// the base profile's list; acadFolder is the release's folder (R15.0).
// A user without any base profile gets an empty base list, or, with
// kBaseWithFallback, the release's own folders (HostFallbackBaseList), so
// that the AutoCAD of a user who never started it still finds them; its
// queries then only open keys (kProbeOpenOnly).
enum HostBase { kBaseFromProfileOnly, kBaseWithFallback };
// True when every value was written.
bool CreateHostProfile(const HostRelease& release, const std::string& destDir,
                       const std::string& acadFolder, HostBase base = kBaseFromProfileOnly);
