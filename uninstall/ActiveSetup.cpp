// After removal, the package's Active Setup component turns into the
// removal of the "<<Quilm V8>>" profiles at each user's next logon: a
// higher version and a command of the system's own programs, since the
// install folder is gone by then.  The component is found by its fixed
// name, never through the record.
#include <algorithm>
#include <string>
#include <vector>

#include "UninstallThread.h"
#include "common/active_setup.h"
#include "common/host_profile.h"
#include "common/paths.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"
#include "host/ActiveSetupRegistry.h"
#include "host/HostRegistry.h"

namespace {

// "CurVer" of a release in one store, without making any key.
std::string CurVerIn(HostStore store, HostView view, const HostRelease& release) {
    std::string productKey;
    ReadHostCurVer(release, store, view, productKey, kProbeOpenOnly);
    return productKey;
}

// The package profile keys a user may have: for every release, under the
// product key of the machine (of a 32-bit and of a 64-bit AutoCAD), of
// this user and the release's default.
std::vector<std::string> ProfileKeys() {
    std::vector<std::string> keys;
    for (const HostRelease& release : kHostReleases) {
        const std::string candidates[] = {
            CurVerIn(kMachineStore, kHostView32, release),
            AfxIsWindows64() ? CurVerIn(kMachineStore, kHostView64, release) : std::string(),
            CurVerIn(kUserStore, kHostView32, release),
            release.defaultProductKey ? release.defaultProductKey : ""};
        for (const std::string& productKey : candidates) {
            if (productKey.empty()) continue;
            std::string key = HostProfileKeyPath(release, productKey, v8::kProfileName);
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
        }
    }
    return keys;
}

std::string SystemFolder() {
    char folder[MAX_PATH] = "";
    UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    return WithTrailingBackslash(length && length < MAX_PATH ? folder : "C:\\Windows\\System32");
}

}  // namespace

BOOL CUninstallThread::RegisterProfileRemoval() {
    std::string version;
    const std::string command = active_setup::RemovalCommand(SystemFolder(), ProfileKeys());
    if (WriteActiveSetupComponent(command, version)) return TRUE;
    m_failures.push_back("HKEY_LOCAL_MACHINE\\" + active_setup::MachineKeyPath());
    return FALSE;
}
