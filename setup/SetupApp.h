// CSetupApp: Setup.exe's application object.  It reads the command line
// and runs either the backdrop, which runs the whole wizard, or the
// unattended installation; the program ends with it, its exit code saying
// how the installation went.
#pragma once

#include "../framework/AfxDialog.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp() = default;
    BOOL InitInstance() override;
};
