// The product key with the per-release profiles, and the Add/Remove
// Programs entry.
#include <cstdio>

#include "InstallSteps.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"
#include "host/HostRegistry.h"
#include "resources/setup/resource.h"

namespace {

// Writes a machine value and logs it with its outcome; false when it was
// not written.  The product key and the Add/Remove Programs entry are in
// the 32-bit view, where the package's own 32-bit programs and deployment
// tools' detection rules look for them.
bool SetValue(const char* key, const char* name, const std::string& text) {
    BOOL ok = SetMachineString(kRegView32, key, name, text.c_str());
    AfxLog("HKLM\\%s: %s = \"%s\"%s", key, name, text.c_str(), ok ? "" : " (not written)");
    return ok != FALSE;
}

bool SetValue(const char* key, const char* name, DWORD number) {
    BOOL ok = SetMachineDword(kRegView32, key, name, number);
    AfxLog("HKLM\\%s: %s = %lu%s", key, name, static_cast<unsigned long>(number),
           ok ? "" : " (not written)");
    return ok != FALSE;
}

std::string Today() {
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    char date[16];
    std::snprintf(date, sizeof(date), "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    return date;
}

}  // namespace

void WriteProductKeys(const std::string& destDir, ULONGLONG bytesCopied, RecordAppender record,
                      FailedItems& failed, UnsupportedHosts& unsupported) {
    using namespace v8;
    // Every value below that is not written is a failed item.
    auto SetValue = [&failed](const char* key, const char* name, const auto& value) {
        if (!::SetValue(key, name, value))
            AddFailedItem(failed, IDS_FAILED_VALUE, std::string("HKLM\\") + key + "\\" + name);
    };
    SetValue(kProductKey, kInstallPathValue, destDir);
    SetValue(kProductKey, "Ver", "8.00");
    record.AddRegKey(kRootLocalMachine, kProductKey);
    for (const NamedValue& layer : kLayerValues) SetValue(kProductKey, layer.name, layer.value);

    // A profile in every release found, each right after its detection.
    // A 64-bit AutoCAD the package has no modules for gets none; that is
    // no failure of the installation.
    for (const HostRelease& release : kHostReleases) {
        HostInstall found;
        if (!FindHostRelease(release, found)) continue;
        if (!HostHasModulesFor(release, found, destDir)) {
            AfxLog(
                "AutoCAD %s found in %s is 64-bit: the package has no 64-bit modules for it "
                "(no %s); no profile and no shortcut",
                release.releaseKey, found.folder.c_str(),
                HostArxFolder(release, found.view).c_str());
            unsupported.push_back(std::string("AutoCAD ") + release.releaseKey +
                                  " (64 位): " + found.folder);
        } else if (!CreateHostProfile(release, destDir, found)) {
            AddFailedItem(failed, IDS_FAILED_PROFILE, release.releaseKey);
        }
    }

    // The Add/Remove Programs entry, with what the system's list of
    // programs and deployment tools read from it.
    SetValue(kUninstallKey, "DisplayName", kDisplayName);
    SetValue(kUninstallKey, "UninstallString", UninstallCommand(destDir));
    SetValue(kUninstallKey, "DisplayVersion", kVersion);
    SetValue(kUninstallKey, "Publisher", kPublisher);
    SetValue(kUninstallKey, "DisplayIcon", DisplayIcon(destDir));
    SetValue(kUninstallKey, "InstallLocation", destDir);
    SetValue(kUninstallKey, "InstallDate", Today());
    SetValue(kUninstallKey, "EstimatedSize", static_cast<DWORD>((bytesCopied + 1023) / 1024));
    SetValue(kUninstallKey, "NoModify", 1);
    SetValue(kUninstallKey, "NoRepair", 1);
    SetValue(kUninstallKey, "QuietUninstallString", QuietUninstallCommand(destDir));
    record.AddRegKey(kRootLocalMachine, kUninstallKey);
}
