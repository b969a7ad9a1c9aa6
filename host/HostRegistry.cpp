#include "HostRegistry.h"

#include "common/host_profile.h"
#include "common/paths.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"

namespace {

// A string value; the key is made where missing unless probe says not to.
bool ReadString(HKEY root, const std::string& key, LPCSTR name, std::string& value,
                HostProbe probe) {
    if (probe == kProbeLeavesKeys) return GetRegString(root, key.c_str(), name, value) != FALSE;
    value.clear();
    CRegKey opened;
    return opened.Open(root, key.c_str()) == ERROR_SUCCESS &&
           opened.QueryValue(name, value) == ERROR_SUCCESS;
}

}  // namespace

bool ReadHostCurVer(const HostRelease& release, HostStore store, std::string& productKey,
                    HostProbe probe) {
    HKEY root = store == kUserStore ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    return ReadString(root, HostReleaseKeyPath(release), "CurVer", productKey, probe);
}

bool ReadHostProductKey(const HostRelease& release, HostLookup lookup, std::string& productKey,
                        HostProbe probe) {
    return FindHostProductKey(
        release, lookup,
        [&](HostStore store, const std::string&, std::string& value) {
            return ReadHostCurVer(release, store, value, probe);
        },
        productKey);
}

bool FindHostRelease(const HostRelease& release, std::string& folder, HostProbe probe) {
    folder.clear();
    std::string productKey;
    if (!ReadHostProductKey(release, release.lookup, productKey, probe)) return false;
    const std::string key = HostProductKeyPath(release, productKey);
    ReadString(HKEY_LOCAL_MACHINE, key, "AcadLocation", folder, probe);
    if (folder.empty() && release.hasLocationFallback)
        ReadString(HKEY_LOCAL_MACHINE, key, "Location", folder, probe);
    if (folder.empty()) return false;
    folder = WithTrailingBackslash(folder);
    return true;
}

bool CreateHostProfile(const HostRelease& release, const std::string& destDir,
                       const std::string& acadFolder, HostBase base) {
    // The product key is looked up afresh, in profile setup's own order.
    const HostProbe probe = base == kBaseWithFallback ? kProbeOpenOnly : kProbeLeavesKeys;
    std::string productKey;
    ReadHostProductKey(release, ProfileLookupOf(release), productKey, probe);

    // The base list always comes from one of AutoCAD's own profiles, never
    // from ours, so installing again writes the same list again.  With the
    // fallback the probe only opens: a user who never started AutoCAD must
    // not find empty profiles of AutoCAD's names afterwards.
    std::string baseList;
    bool found = false;
    for (const char* const* name = BaseProfilesOf(release); *name && !found; ++name) {
        std::string key = HostProfileKeyPath(release, productKey, *name) + "\\General";
        found = ReadString(HKEY_CURRENT_USER, key, "ACAD", baseList, probe);
    }
    if (!found && base == kBaseWithFallback) baseList = HostFallbackBaseList(acadFolder);

    const std::string profileKey = HostProfileKeyPath(release, productKey, v8::kProfileName);
    const std::string searchList = HostSearchList(release, destDir, baseList, acadFolder);
    BOOL written = SetUserString((profileKey + "\\General").c_str(), "ACAD", searchList.c_str());
    const std::string menuFile = HostMenuFile(release, destDir);
    if (!menuFile.empty())
        written &= SetUserString((profileKey + "\\General Configuration").c_str(), "MenuFile",
                                 menuFile.c_str());
    written &= SetUserString(profileKey.c_str(), "", v8::kProfileName);
    AfxLog("AutoCAD %s found in %s: profile HKCU\\%s%s", release.releaseKey, acadFolder.c_str(),
           profileKey.c_str(), written ? "" : " (not written)");
    return written != FALSE;
}
