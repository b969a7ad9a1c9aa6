// Helpers of the host integration tests: the AutoCAD registry fixtures,
// shortcut reading, the test control library and an install job run the
// way the copy page runs it.  Temporary folders, files, registry values
// and key guards come from the shared test support.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setup/SetupThread.h"
#include "support/TestSupport.h"

namespace hosttest {

using namespace quilmtest;

// The test control library as a Windows path (Z:\... under Wine).
std::string TestControlPath();
bool CopyTestControl(const std::string& to);

// Guards the AutoCAD keys that detection and profile setup create or that
// the tests write: HKCU and HKLM "SOFTWARE\Autodesk", which are then
// cleared, so that each test starts on a machine without AutoCAD.
void GuardAutoCadKeys(KeyGuard& guard);

// Registry fixtures standing in for an installed AutoCAD.
void SetCurVer(HKEY root, const char* releaseKey, const std::string& productKey);
void SetAcadValue(const char* releaseKey, const std::string& productKey, const char* value,
                  const std::string& text);
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

// The install job with prompts answered by the test (Cancel unless told
// otherwise) instead of message boxes.
class TestJob : public CSetupThread {
public:
    int m_nPrompts = 0;
    int m_nAnswer = IDCANCEL;

protected:
    int Prompt(const CString&, UINT) override {
        ++m_nPrompts;
        return m_nAnswer;
    }
};

// What the owner window of a job received.
struct OwnerCounts {
    int progress = 0;
    int done = 0;
    int failed = 0;
};

// Runs a job from source to dest on its own thread, as the copy page does,
// with a window of this thread as owner, and waits for its end.  Returns
// the number of prompts the job asked (each answered with Cancel).
int RunInstallJob(const std::string& source, const std::string& dest, OwnerCounts& counts);

}  // namespace hosttest
