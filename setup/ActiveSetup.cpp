// The per-user part of the installation: the Active Setup component that
// starts the per-user program once for every user at logon, and the
// installing user's stamp (that user got the profiles from
// WriteProductKeys already).
#include "InstallSteps.h"
#include "common/active_setup.h"
#include "common/paths.h"
#include "framework/AfxLog.h"
#include "host/ActiveSetupRegistry.h"
#include "resources/setup/resource.h"

BOOL RegisterActiveSetup(const std::string& destDir, FailedItems& failed) {
    // Without its program the component would stamp every user for
    // nothing: it is left as it is.
    const std::string program = JoinPath(destDir, active_setup::kUserProgramFile);
    if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        AfxLog("Active Setup not registered: %s: %s", program.c_str(),
               AfxErrorText(::GetLastError()).c_str());
        return FALSE;
    }
    std::string version;
    if (!WriteActiveSetupComponent(active_setup::MakingCommand(destDir), version)) {
        AddFailedItem(failed, IDS_FAILED_VALUE, "HKLM\\" + active_setup::MachineKeyPath());
        return FALSE;
    }
    if (!StampActiveSetupUser(version)) {
        AddFailedItem(failed, IDS_FAILED_VALUE, "HKCU\\" + active_setup::UserKeyPath());
        return FALSE;
    }
    return TRUE;
}
