// The configuring steps after the copy: registering the package's
// controls, and the product key with the per-release profiles and the
// Add/Remove Programs entry.  Failures here are silent; the record lists
// what was attempted.
#include "SetupThread.h"

#include "../common/paths.h"
#include "../framework/AfxDllSearch.h"
#include "../framework/AfxRegistry.h"

const char* const CSetupThread::kProductKey = "SOFTWARE\\Corvantix\\Quilm\\V8";
const char* const CSetupThread::kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8";
const char* const CSetupThread::kDisplayName = "土地整理规划设计软件 Quilm V8.5";
const char* const CSetupThread::kProfileName = "<<Quilm V8>>";
const char* const CSetupThread::kProgramFile = "Quilm.exe";
const char* const CSetupThread::kUninstallerFile = "Uninstall.exe";

namespace {

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
    AfxListFiles(folder, "*.ocx", names);
    for (int i = 0; i < names.GetSize(); ++i) {
        CString path = folder + names[i];
        RegisterControl(path);
        RecordRegCtrl(path);  // recorded whether or not it registered
    }
}

BOOL CSetupThread::RegisterControl(const CString& path) {
    return AfxRegisterServer(path, true) == S_OK;
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

    std::string uninstaller = JoinPath(m_strDestDir.str(), kUninstallerFile);
    SetMachineString(kUninstallKey, "DisplayName", kDisplayName);
    SetMachineString(kUninstallKey, "UninstallString", CommandLineOf(uninstaller));
    RecordRegKey(HKEY_LOCAL_MACHINE, kUninstallKey);
}
