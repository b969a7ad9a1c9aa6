// Install steps 3 and 4: registering the package's controls, and the
// product key with the per-release profiles and the Add/Remove Programs
// entry.  Failures here are silent; the record lists what was attempted.
#include "SetupThread.h"

#include "../common/RegistryStrings.h"
#include "../common/paths.h"
#include "../framework/AfxDllSearch.h"

const char* const CSetupThread::kProductKey = "SOFTWARE\\Corvantix\\Quilm\\V8";
const char* const CSetupThread::kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8";
const char* const CSetupThread::kDisplayName = "土地整理规划设计软件 Quilm V8.5";
const char* const CSetupThread::kProfileName = "<<Quilm V8>>";

namespace {

typedef HRESULT(__stdcall* RegisterServerProc)();

// The command line that starts the uninstaller: a path with blanks is
// quoted, or the shell would split it at the first blank.
CString CommandLineOf(const std::string& path) {
    if (path.find(' ') == std::string::npos) return CString(path);
    return CString("\"" + path + "\"");
}

}  // namespace

void CSetupThread::RegisterControls() {
    CString folder = m_strDestDir + "Control\\";
    CStringArray names;
    ListFiles(folder, "*.ocx", names);
    for (int i = 0; i < names.GetSize(); ++i) {
        CString path = folder + names[i];
        RegisterControl(path);
        RecordRegCtrl(path);  // recorded whether or not it registered
    }
}

BOOL CSetupThread::RegisterControl(const CString& path) {
    // A file that is no loadable library must fail quietly, without the
    // system's error box.
    DWORD oldMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    HMODULE module = AfxLoadLibraryFromPath(path);
    ::SetThreadErrorMode(oldMode, NULL);
    if (!module) return FALSE;
    BOOL ok = FALSE;
    // Through void (*)(): the generic function type that any entry point
    // may be cast from without a warning.
    RegisterServerProc registerServer = reinterpret_cast<RegisterServerProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "DllRegisterServer")));
    if (registerServer) ok = registerServer() == S_OK;
    ::FreeLibrary(module);
    return ok;
}

void CSetupThread::WriteProductKeys() {
    SetMachineString(kProductKey, "installPath", m_strDestDir);
    SetMachineString(kProductKey, "Ver", "8.00");
    RecordRegKey(HKEY_LOCAL_MACHINE, kProductKey);
    SetMachineString(kProductKey, "OriginLayer", "原始标高");
    SetMachineString(kProductKey, "DesignLayer", "设计标高");
    SetMachineString(kProductKey, "OriginContourLayer", "原始等高线");
    SetMachineString(kProductKey, "DesignContourLayer", "设计等高线");

    // A profile in every release found, each right after its detection.
    for (const HostRelease& release : kHostReleases) {
        CString acadFolder;
        if (FindHostRelease(release, acadFolder)) CreateHostProfile(release, acadFolder);
    }

    std::string uninstaller = JoinPath(m_strDestDir.str(), "Uninstall.exe");
    SetMachineString(kUninstallKey, "DisplayName", kDisplayName);
    SetMachineString(kUninstallKey, "UninstallString", CommandLineOf(uninstaller));
    RecordRegKey(HKEY_LOCAL_MACHINE, kUninstallKey);
}
