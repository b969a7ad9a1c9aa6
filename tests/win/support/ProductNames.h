// The product's registry keys and names as the programs define them, for
// every test that looks at them.  Tests take them from here, so that only
// this header follows when the programs' constants move.
#pragma once

#include "setup/SetupThread.h"
#include "uninstall/UninstallCore.h"

namespace quilmtest {

// Setup.exe (version 8): HKLM keys, the Add/Remove Programs name (also the
// Start-menu group) and the AutoCAD profile it makes.
inline const char* const& kProductKey = CSetupThread::kProductKey;
inline const char* const& kUninstallKey = CSetupThread::kUninstallKey;
inline const char* const& kDisplayName = CSetupThread::kDisplayName;
inline const char* const& kProfileName = CSetupThread::kProfileName;
inline const char* const& kStartMenuGroup = CSetupThread::kDisplayName;

// Uninstall.exe (version 9): the product key it reads and the profile it
// removes.
inline const char* const kV9Key = kUninstallProductKey;
inline const char* const kV9ProfileName = kUninstallProfileName;

// Titles of the two programs' windows.
inline const char kWizardTitle[] = "Quilm V8.5 安装向导";
inline const char kUninstallTitle[] = "Quilm V9.0 卸载";

}  // namespace quilmtest
