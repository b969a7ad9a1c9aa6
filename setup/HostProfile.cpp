// Host CAD integration: finding the installed AutoCAD releases and making
// the package profile in each.  Everything is read from and written to the
// registry; AutoCAD itself is never started or looked at on disk.
#include "SetupThread.h"

#include "../common/host_profile.h"
#include "../common/paths.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxRegistry.h"

namespace {

// "CurVer" of the release (see FindHostProductKey).  The queries create
// the release key where missing (left behind, empty).
BOOL FindProductKey(const HostRelease& release, HostLookup lookup, CString& productKey) {
    std::string found;
    bool ok = FindHostProductKey(
        release, lookup,
        [](HostStore store, const std::string& key, std::string& value) {
            HKEY root = store == kUserStore ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
            return GetRegString(root, key.c_str(), "CurVer", value) != FALSE;
        },
        found);
    productKey = found.c_str();
    return ok;
}

}  // namespace

BOOL CSetupThread::FindHostRelease(const HostRelease& release, CString& folder) {
    folder.Empty();
    CString productKey;
    if (!FindProductKey(release, release.lookup, productKey)) return FALSE;
    std::string key = HostProductKeyPath(release, productKey.str());
    GetMachineString(key.c_str(), "AcadLocation", folder);
    if (folder.IsEmpty() && release.hasLocationFallback)
        GetMachineString(key.c_str(), "Location", folder);
    if (folder.IsEmpty()) return FALSE;
    folder = WithTrailingBackslash(folder.str());
    return TRUE;
}

void CSetupThread::CreateHostProfile(const HostRelease& release, const CString& acadFolder) {
    // The product key is looked up afresh, in profile setup's own order.
    CString productKey;
    FindProductKey(release, ProfileLookupOf(release), productKey);

    // The base list always comes from one of AutoCAD's own profiles, never
    // from ours, so installing again writes the same list again.
    CString baseList;
    for (const char* const* base = BaseProfilesOf(release); *base; ++base) {
        std::string key = HostProfileKeyPath(release, productKey.str(), *base) + "\\General";
        if (GetUserString(key.c_str(), "ACAD", baseList)) break;
    }

    std::string profileKey = HostProfileKeyPath(release, productKey.str(), kProfileName);
    std::string searchList =
        HostSearchList(release, m_strDestDir.str(), baseList.str(), acadFolder.str());
    SetUserString((profileKey + "\\General").c_str(), "ACAD", searchList.c_str());
    std::string menuFile = HostMenuFile(release, m_strDestDir.str());
    if (!menuFile.empty())
        SetUserString((profileKey + "\\General Configuration").c_str(), "MenuFile",
                      menuFile.c_str());
    SetUserString(profileKey.c_str(), "", kProfileName);
    AfxLog("AutoCAD %s found in %s: profile HKCU\\%s", release.releaseKey,
           static_cast<LPCSTR>(acadFolder), profileKey.c_str());
}
