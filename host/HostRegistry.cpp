#include "HostRegistry.h"

#include "common/host_profile.h"
#include "common/paths.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"

bool ReadHostProductKey(const HostRelease& release, HostLookup lookup, std::string& productKey) {
    return FindHostProductKey(
        release, lookup,
        [](HostStore store, const std::string& key, std::string& value) {
            HKEY root = store == kUserStore ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
            return GetRegString(root, key.c_str(), "CurVer", value) != FALSE;
        },
        productKey);
}

bool FindHostRelease(const HostRelease& release, std::string& folder) {
    folder.clear();
    std::string productKey;
    if (!ReadHostProductKey(release, release.lookup, productKey)) return false;
    const std::string key = HostProductKeyPath(release, productKey);
    GetRegString(HKEY_LOCAL_MACHINE, key.c_str(), "AcadLocation", folder);
    if (folder.empty() && release.hasLocationFallback)
        GetRegString(HKEY_LOCAL_MACHINE, key.c_str(), "Location", folder);
    if (folder.empty()) return false;
    folder = WithTrailingBackslash(folder);
    return true;
}

bool CreateHostProfile(const HostRelease& release, const std::string& destDir,
                       const std::string& acadFolder) {
    // The product key is looked up afresh, in profile setup's own order.
    std::string productKey;
    ReadHostProductKey(release, ProfileLookupOf(release), productKey);

    // The base list always comes from one of AutoCAD's own profiles, never
    // from ours, so installing again writes the same list again.
    std::string baseList;
    for (const char* const* base = BaseProfilesOf(release); *base; ++base) {
        std::string key = HostProfileKeyPath(release, productKey, *base) + "\\General";
        if (GetRegString(HKEY_CURRENT_USER, key.c_str(), "ACAD", baseList)) break;
    }

    const std::string profileKey = HostProfileKeyPath(release, productKey, v8::kProfileName);
    const std::string searchList = HostSearchList(release, destDir, baseList, acadFolder);
    bool written =
        SetUserString((profileKey + "\\General").c_str(), "ACAD", searchList.c_str()) != FALSE;
    const std::string menuFile = HostMenuFile(release, destDir);
    if (!menuFile.empty())
        written &= SetUserString((profileKey + "\\General Configuration").c_str(), "MenuFile",
                                 menuFile.c_str()) != FALSE;
    written &= SetUserString(profileKey.c_str(), "", v8::kProfileName) != FALSE;
    AfxLog("AutoCAD %s found in %s: profile HKCU\\%s%s", release.releaseKey, acadFolder.c_str(),
           profileKey.c_str(), written ? "" : " (not all written)");
    return written;
}
