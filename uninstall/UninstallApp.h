// CUninstallApp: Uninstall.exe's application object.  It asks once whether
// to uninstall and, on Yes, runs the uninstall dialog; the program ends
// with it.
#pragma once

#include "framework/AfxDialog.h"

class CUninstallApp : public CWinApp {
public:
    CUninstallApp() = default;
    BOOL InitInstance() override;
};
