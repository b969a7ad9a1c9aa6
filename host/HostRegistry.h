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

#include "common/host_release.h"

// "CurVer" of release (its product key), asked of the stores of lookup in
// order; see FindHostProductKey.
bool ReadHostProductKey(const HostRelease& release, HostLookup lookup, std::string& productKey);

// Whether release is installed, and its folder, ending with "\".
bool FindHostRelease(const HostRelease& release, std::string& folder);

// Makes the package profile of release for the current user: its search
// list puts the package's folders (destDir, ending with "\") in front of
// the base profile's list; acadFolder is the release's folder (R15.0).
// False when one of its values was not written.
bool CreateHostProfile(const HostRelease& release, const std::string& destDir,
                       const std::string& acadFolder);
