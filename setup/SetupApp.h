// CSetupApp: Setup.exe's application object.  It runs one modal dialog,
// the backdrop, which runs the whole wizard; the program ends with it.
#pragma once

#include "../framework/AfxDialog.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp() = default;
    BOOL InitInstance() override;
};
