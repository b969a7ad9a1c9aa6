// CUninstallApp: Uninstall.exe's application object.  It reads the command
// line, asks once whether to uninstall (unless unattended) and runs the
// uninstall dialog; the program ends with it, its exit code saying how the
// uninstall went.
#pragma once

#include "framework/AfxDialog.h"

class CUninstallApp : public CWinApp {
public:
    CUninstallApp() = default;
    BOOL InitInstance() override;
};
