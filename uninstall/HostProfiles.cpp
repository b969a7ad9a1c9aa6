// Removing the package profile "<<Quilm V9>>" from every supported AutoCAD
// release, then the package's product key.  The install record lists no
// profiles, so the releases are walked by the release table.
#include "UninstallThread.h"
#include "UninstallCore.h"
#include "common/host_profile.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"

namespace {

BOOL DeleteProfileKey(const CString& key) {
    BOOL removed = DeleteKeyTree(HKEY_CURRENT_USER, key);
    if (removed) AfxLog("profile removed: HKEY_CURRENT_USER\\%s", static_cast<LPCSTR>(key));
    return removed;
}

// The product key ("CurVer") for removal, looked up in the release's
// removal order; empty when not found.  The queries create the release key
// where missing (left behind, empty).
CString RemovalProductKey(const HostRelease& release) {
    std::string product;
    FindHostProductKey(
        release, release.removalLookup,
        [](HostStore store, const std::string& key, std::string& value) {
            HKEY root = store == kUserStore ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
            return GetRegString(root, key.c_str(), "CurVer", value) != FALSE;
        },
        product);
    return CString(product);
}

// Deletes the package profile of a release with its subkeys ("General",
// "General Configuration"): a key that still has subkeys cannot be deleted
// on its own.  The path always ends in the package profile's own name, so
// no other profile is touched.  An empty product key names no release
// product: nothing is deleted.
BOOL DeleteHostProfile(const HostRelease& release, const CString& productKey) {
    if (productKey.IsEmpty()) return FALSE;
    return DeleteProfileKey(CString(HostProfileKey(release.releaseKey, productKey.str())));
}

// Where R15.0 profiles may lie when "CurVer" does not lead to them.
const char* const kR15FallbackProfiles[] = {
    "Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:804\\Profiles\\<<Quilm V9>>",
    "Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-2:804\\Profiles\\<<Quilm V9>>",
    "Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:409\\Profiles\\<<Quilm V9>>"};

}  // namespace

void CUninstallThread::RemoveHostProfiles() {
    for (int i = 0; i < kHostReleaseCount; ++i) {
        const HostRelease& release = kHostReleases[i];
        BOOL removed = DeleteHostProfile(release, RemovalProductKey(release));
        if (i == 0 && !removed) {
            for (const char* key : kR15FallbackProfiles) DeleteProfileKey(key);
        }
    }
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallProductKey);
}
