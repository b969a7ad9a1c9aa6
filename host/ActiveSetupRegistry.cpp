#include "ActiveSetupRegistry.h"

#include "common/active_setup.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"

namespace {

// Logs one value's outcome; true when it was written.
bool Logged(const std::string& key, const char* name, const std::string& text, LONG result) {
    if (result == ERROR_SUCCESS) AfxLog("HKLM\\%s: %s = \"%s\"", key.c_str(), name, text.c_str());
    else
        AfxLog("HKLM\\%s: %s = \"%s\" (not written: %s)", key.c_str(), name, text.c_str(),
               AfxErrorText(static_cast<DWORD>(result)).c_str());
    return result == ERROR_SUCCESS;
}

}  // namespace

bool WriteActiveSetupComponent(const std::string& stubPath, std::string& version) {
    using namespace active_setup;
    const std::string path = MachineKeyPath();
    CRegKey key;
    LONG result = key.Create(HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ | KEY_WRITE | kRegView64);
    std::string previous;
    if (result == ERROR_SUCCESS) key.QueryValue("Version", previous);
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    version = NextVersion(previous, today.wYear, today.wMonth, today.wDay);
    if (result != ERROR_SUCCESS) return Logged(path, "StubPath", stubPath, result);

    bool written = Logged(path, "", v8::kDisplayName, key.SetValue("", v8::kDisplayName));
    written &= Logged(path, "ComponentID", kComponentId, key.SetValue("ComponentID", kComponentId));
    written &= Logged(path, "IsInstalled", "1", key.SetValue("IsInstalled", DWORD(1)));
    written &= Logged(path, "Version", version, key.SetValue("Version", version.c_str()));
    written &= Logged(path, "StubPath", stubPath, key.SetValue("StubPath", stubPath.c_str()));
    return written;
}

bool StampActiveSetupUser(const std::string& version) {
    const std::string path = active_setup::UserKeyPath();
    CRegKey key;
    LONG result = key.Create(HKEY_CURRENT_USER, path.c_str(), KEY_WRITE);
    if (result == ERROR_SUCCESS) result = key.SetValue("Version", version.c_str());
    if (result == ERROR_SUCCESS)
        AfxLog("HKCU\\%s: Version = \"%s\"", path.c_str(), version.c_str());
    else
        AfxLog("HKCU\\%s: Version = \"%s\" (not written: %s)", path.c_str(), version.c_str(),
               AfxErrorText(static_cast<DWORD>(result)).c_str());
    return result == ERROR_SUCCESS;
}
