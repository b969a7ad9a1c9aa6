// QuilmUser.exe: the per-user part of an installation, started by Active
// Setup once for every user at logon, as that user and without elevation,
// before the desktop appears.  It makes the package profile in every
// AutoCAD release installed at that moment, exactly as Setup makes it for
// the user who installs, with the release's own folders as base list for
// a user who has no base profile yet.  It never shows a window, never
// waits for anything, and always ends with exit code 0: a logon must not
// hang or fail because of the package.  Its diagnostic log lists what
// failed.
#include <windows.h>

#include <string>
#include <vector>

#include "common/host_release.h"
#include "common/mbcs.h"
#include "framework/AfxDllSearch.h"
#include "framework/AfxLog.h"
#include "framework/AfxModule.h"
#include "host/HostRegistry.h"

namespace {

// The install folder: the folder this program lies in, ending with "\".
std::string InstallFolder() {
    const std::string self = AfxGetModulePath();
    const size_t cut = LastSeparatorOffset(self);
    return cut == std::string::npos ? std::string() : self.substr(0, cut + 1);
}

void MakeProfiles() {
    const std::string destDir = InstallFolder();
    AfxLog("install folder: %s", destDir.c_str());
    int made = 0;
    std::vector<std::string> failed;
    for (const HostRelease& release : kHostReleases) {
        HostInstall found;
        if (!FindHostRelease(release, found, kProbeOpenOnly)) continue;
        if (!HostHasModulesFor(release, found, destDir)) {
            AfxLog("AutoCAD %s found in %s is 64-bit: the package has no 64-bit modules for it",
                   release.releaseKey, found.folder.c_str());
            continue;
        }
        if (CreateHostProfile(release, destDir, found, kBaseWithFallback)) ++made;
        else failed.push_back(release.releaseKey);
    }
    AfxLog("profiles made: %d, failed: %d", made, static_cast<int>(failed.size()));
    for (const std::string& releaseKey : failed) AfxLog("failed: AutoCAD %s", releaseKey.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // No box of the system either: a missing medium or a bad disk fails
    // the call instead of asking the user.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    AfxRestrictDllSearch();
    AfxGetLog().OpenNew("QuilmUser");
    AfxLog("program: %s", AfxGetModulePath().c_str());
    try {
        MakeProfiles();
    } catch (...) {
        AfxLog("failed: stopped by an unexpected error");
    }
    AfxLog("exit code: 0");
    AfxGetLog().Close();
    return 0;
}
