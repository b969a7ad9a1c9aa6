// The AutoCAD releases the package supports, R15.0 to R18.2, in the one
// order every walk over them uses.
#pragma once

// Where "CurVer" (the release's product key) is looked for, and what
// happens when no store has it.
enum HostLookup {
    kLookupMachineThenUser,  // not installed when found nowhere
    kLookupUserThenMachineThenDefault,
    kLookupUserThenDefault,
    kLookupMachineOnly  // empty when not found
};

struct HostRelease {
    const char* releaseKey;         // "R17.0"
    const char* defaultProductKey;  // "ACAD-5001:804"; nullptr for R15.0
    int shortcutYear;               // 2007 -> "Quilmfor2007.LNK"
    const char* supportGroup;       // subfolder of "Support": "2007-09"
    HostLookup lookup;              // when detecting an installation
    bool hasLocationFallback;       // "Location" after "AcadLocation" (R18.x)
    HostLookup removalLookup;       // when the uninstaller removes the profile
};

const int kHostReleaseCount = 10;
extern const HostRelease kHostReleases[kHostReleaseCount];
