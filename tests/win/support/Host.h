// The host CAD integration seen from a test: registry fixtures standing
// in for an installed AutoCAD, shortcuts read back through the shell's
// link object, and the test control library.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/host_release.h"
#include "setup/SetupThread.h"
#include "support/TestSupport.h"

namespace quilmtest {

// The test control library as a Windows path (Z:\... under Wine).
std::string TestControlPath();
bool CopyTestControl(const std::string& to);
// Where the test control notes what its entry points did, one value per
// file name ("registered", "unregistered", "holding", ...), in
// HKEY_CURRENT_USER; ControlNote gives kMissing when it noted nothing.
inline const char kControlNotes[] = "Software\\QuilmTest\\Controls";
std::string ControlNote(const std::string& fileName);

// Guards the AutoCAD keys that detection and profile setup create or that
// the tests write: HKCU and both views' HKLM "SOFTWARE\Autodesk", which are then
// cleared, so that each test starts on a machine without AutoCAD.
void GuardAutoCadKeys(KeyGuard& guard);

// Registry fixtures standing in for an installed AutoCAD.
void SetCurVer(HKEY root, const char* releaseKey, const std::string& productKey);
// A value of the product key in machine's view (kMachine64: a 64-bit AutoCAD).
void SetAcadValue(const char* releaseKey, const std::string& productKey, const char* value,
                  const std::string& text, HKEY machine = HKEY_LOCAL_MACHINE);
void SetBaseProfile(const char* releaseKey, const std::string& productKey,
                    const std::string& profile, const std::string& acadList);
std::string ProfileKey(const char* releaseKey, const std::string& productKey,
                       const std::string& profile);

const HostRelease& Release(const char* releaseKey);

// Lines of Uninstall.log, CR LF line ends removed.
std::vector<std::string> RecordFileLines(const std::string& path);

// A shortcut read back through the shell's link object.
struct LinkInfo {
    std::string target, arguments, icon, workDir;
    int iconIndex = -1;
};
bool ReadLink(const std::string& path, LinkInfo& info);

}  // namespace quilmtest
