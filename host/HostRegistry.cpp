#include "HostRegistry.h"

#include "common/host_profile.h"
#include "common/paths.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"

namespace {

REGSAM RegViewOf(HostView view) {
    return view == kHostView64 ? kRegView64 : kRegView32;
}

// A string value in root (a machine key in view).  The key is made where
// missing unless probe says not to; the 64-bit view, which only a 64-bit
// AutoCAD writes, is only ever opened.
bool ReadString(HKEY root, HostView view, const std::string& key, LPCSTR name, std::string& value,
                HostProbe probe) {
    const REGSAM regView = root == HKEY_LOCAL_MACHINE ? RegViewOf(view) : 0;
    if (probe == kProbeLeavesKeys && !(root == HKEY_LOCAL_MACHINE && view == kHostView64))
        return GetRegString(root, regView, key.c_str(), name, value) != FALSE;
    value.clear();
    CRegKey opened;
    return opened.Open(root, key.c_str(), KEY_READ | regView) == ERROR_SUCCESS &&
           opened.QueryValue(name, value) == ERROR_SUCCESS;
}

}  // namespace

bool ReadHostCurVer(const HostRelease& release, HostStore store, HostView view,
                    std::string& productKey, HostProbe probe) {
    HKEY root = store == kUserStore ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    return ReadString(root, view, HostReleaseKeyPath(release), "CurVer", productKey, probe);
}

bool ReadHostProductKey(const HostRelease& release, HostLookup lookup, HostView view,
                        std::string& productKey, HostProbe probe) {
    return FindHostProductKey(
        release, lookup,
        [&](HostStore store, const std::string&, std::string& value) {
            return ReadHostCurVer(release, store, view, value, probe);
        },
        productKey);
}

bool FindHostRelease(const HostRelease& release, HostInstall& found, HostProbe probe) {
    found = HostInstall();
    for (HostView view : {kHostView32, kHostView64}) {
        if (view == kHostView64 && !AfxIsWindows64()) break;
        std::string productKey, folder;
        if (!ReadHostProductKey(release, release.lookup, view, productKey, probe)) continue;
        const std::string key = HostProductKeyPath(release, productKey);
        ReadString(HKEY_LOCAL_MACHINE, view, key, "AcadLocation", folder, probe);
        if (folder.empty() && release.hasLocationFallback)
            ReadString(HKEY_LOCAL_MACHINE, view, key, "Location", folder, probe);
        if (folder.empty()) continue;
        found.folder = WithTrailingBackslash(folder);
        found.view = view;
        return true;
    }
    return false;
}

bool HostHasModulesFor(const HostRelease& release, const HostInstall& found,
                       const std::string& destDir) {
    if (found.view == kHostView32) return true;
    const std::string arx = destDir + HostArxFolder(release, found.view);
    const DWORD attributes = ::GetFileAttributesA(arx.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateHostProfile(const HostRelease& release, const std::string& destDir,
                       const HostInstall& found, HostBase base) {
    // The product key is looked up afresh, in profile setup's own order.
    const HostProbe probe = base == kBaseWithFallback ? kProbeOpenOnly : kProbeLeavesKeys;
    std::string productKey;
    ReadHostProductKey(release, ProfileLookupOf(release), found.view, productKey, probe);

    // The base list always comes from one of AutoCAD's own profiles, never
    // from ours, so installing again writes the same list again.  With the
    // fallback the probe only opens: a user who never started AutoCAD must
    // not find empty profiles of AutoCAD's names afterwards.
    std::string baseList;
    bool baseFound = false;
    for (const char* const* name = BaseProfilesOf(release); *name && !baseFound; ++name) {
        std::string key = HostProfileKeyPath(release, productKey, *name) + "\\General";
        baseFound = ReadString(HKEY_CURRENT_USER, found.view, key, "ACAD", baseList, probe);
    }
    if (!baseFound && base == kBaseWithFallback) baseList = HostFallbackBaseList(found.folder);

    const std::string profileKey = HostProfileKeyPath(release, productKey, v8::kProfileName);
    const std::string searchList =
        HostSearchList(release, destDir, baseList, found.folder, found.view);
    BOOL written = SetUserString((profileKey + "\\General").c_str(), "ACAD", searchList.c_str());
    const std::string menuFile = HostMenuFile(release, destDir);
    if (!menuFile.empty())
        written &= SetUserString((profileKey + "\\General Configuration").c_str(), "MenuFile",
                                 menuFile.c_str());
    written &= SetUserString(profileKey.c_str(), "", v8::kProfileName);
    AfxLog("AutoCAD %s%s found in %s: profile HKCU\\%s%s", release.releaseKey,
           found.view == kHostView64 ? " (64-bit)" : "", found.folder.c_str(), profileKey.c_str(),
           written ? "" : " (not written)");
    return written != FALSE;
}
