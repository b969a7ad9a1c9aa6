// The configuring steps after the copy: registering the package's
// controls, and the product key with the per-release profiles and the
// Add/Remove Programs entry.  Failures here are silent; the record lists
// what was attempted.
#include "SetupThread.h"

#include <cstdio>

#include "../common/paths.h"
#include "../common/record_scope.h"
#include "../framework/AfxDllSearch.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxRegistry.h"

// The keys and the package's name are those the uninstaller accepts in a
// record (common/record_scope.h).
const char* const CSetupThread::kProductKey = kInstalledProductKey;
const char* const CSetupThread::kUninstallKey = kInstalledUninstallKey;
const char* const CSetupThread::kDisplayName = kInstalledMenuFolder;
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
    HRESULT result = AfxRegisterServer(path, true);
    AfxLog("control registered: %s: 0x%08lX", static_cast<LPCSTR>(path),
           static_cast<unsigned long>(result));
    return result == S_OK;
}

namespace {

// Writes a machine value and logs it with its outcome.
void SetValue(const char* key, const char* name, const char* text) {
    BOOL ok = SetMachineString(key, name, text);
    AfxLog("HKLM\\%s: %s = \"%s\"%s", key, name, text, ok ? "" : " (not written)");
}

void SetValue(const char* key, const char* name, DWORD number) {
    BOOL ok = SetMachineDword(key, name, number);
    AfxLog("HKLM\\%s: %s = %lu%s", key, name, static_cast<unsigned long>(number),
           ok ? "" : " (not written)");
}

}  // namespace

void CSetupThread::WriteProductKeys() {
    SetValue(kProductKey, "installPath", m_strDestDir);
    SetValue(kProductKey, "Ver", "8.00");
    RecordRegKey(HKEY_LOCAL_MACHINE, kProductKey);
    SetValue(kProductKey, "OriginLayer", "原始标高");
    SetValue(kProductKey, "DesignLayer", "设计标高");
    SetValue(kProductKey, "OriginContourLayer", "原始等高线");
    SetValue(kProductKey, "DesignContourLayer", "设计等高线");

    // A profile in every release found, each right after its detection.
    for (const HostRelease& release : kHostReleases) {
        CString acadFolder;
        if (FindHostRelease(release, acadFolder)) CreateHostProfile(release, acadFolder);
    }

    // The Add/Remove Programs entry, with what the system's list of
    // programs and deployment tools read from it.
    std::string uninstaller = JoinPath(m_strDestDir.str(), kUninstallerFile);
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    char date[16];
    std::snprintf(date, sizeof(date), "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    SetValue(kUninstallKey, "DisplayName", kDisplayName);
    SetValue(kUninstallKey, "UninstallString", CommandLineOf(uninstaller));
    SetValue(kUninstallKey, "DisplayVersion", "8.5");
    SetValue(kUninstallKey, "Publisher", "Corvantix有限公司");
    SetValue(kUninstallKey, "DisplayIcon", (uninstaller + ",0").c_str());
    SetValue(kUninstallKey, "InstallLocation", m_strDestDir);
    SetValue(kUninstallKey, "InstallDate", date);
    SetValue(kUninstallKey, "EstimatedSize", static_cast<DWORD>((m_nBytesCopied + 1023) / 1024));
    SetValue(kUninstallKey, "NoModify", 1);
    SetValue(kUninstallKey, "NoRepair", 1);
    SetValue(kUninstallKey, "QuietUninstallString",
             ("\"" + uninstaller + "\" /VERYSILENT").c_str());
    RecordRegKey(HKEY_LOCAL_MACHINE, kUninstallKey);
}
