// Removing the package profile "<<Quilm V9>>" from every supported AutoCAD
// release, then the package's product key.  The install record lists no
// profiles, so the releases are walked by the release table.
#include "UninstallCore.h"
#include "UninstallThread.h"
#include "common/host_profile.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"
#include "host/HostRegistry.h"

namespace {

BOOL DeleteProfileKey(const std::string& key) {
    BOOL removed = CRegKey::DeleteKeyTree(HKEY_CURRENT_USER, key.c_str(), 0) == ERROR_SUCCESS;
    if (removed) AfxLog("profile removed: HKEY_CURRENT_USER\\%s", key.c_str());
    return removed;
}

// Deletes the package profile of a release with its subkeys ("General",
// "General Configuration"): a key that still has subkeys cannot be deleted
// on its own.  The path always ends in the package profile's own name, so
// no other profile is touched.  The product key ("CurVer") is looked up in
// the release's removal order; a 64-bit AutoCAD's own machine "CurVer", in
// the 64-bit view, names one more.  When none is found, nothing is
// deleted.
BOOL DeleteHostProfile(const HostRelease& release) {
    std::string productKey, productKey64;
    ReadHostProductKey(release, release.removalLookup, kHostView32, productKey);
    if (AfxIsWindows64())
        ReadHostCurVer(release, kMachineStore, kHostView64, productKey64, kProbeOpenOnly);
    BOOL removed = FALSE;
    if (!productKey.empty())
        removed = DeleteProfileKey(v9::HostProfileKey(release.releaseKey, productKey));
    if (!productKey64.empty() && productKey64 != productKey)
        removed |= DeleteProfileKey(v9::HostProfileKey(release.releaseKey, productKey64));
    return removed;
}

// Where R15.0 profiles may lie when "CurVer" does not lead to them.
const char* const kR15FallbackProductKeys[] = {"ACAD-1:804", "ACAD-2:804", "ACAD-1:409"};

}  // namespace

void CUninstallThread::RemoveHostProfiles() {
    for (int i = 0; i < kHostReleaseCount; ++i) {
        const HostRelease& release = kHostReleases[i];
        if (!DeleteHostProfile(release) && i == 0) {
            for (const char* productKey : kR15FallbackProductKeys)
                DeleteProfileKey("Software\\Autodesk\\AutoCAD\\R15.0\\" + std::string(productKey) +
                                 "\\Profiles\\" + v9::kProfileName);
        }
    }
    CRegKey::DeleteKey(HKEY_LOCAL_MACHINE, v9::kProductKey, kRegView32);
}
