#include "SetupApp.h"

#include "SetupDlg.h"

CSetupApp theApp;

BOOL CSetupApp::InitInstance() {
    AfxInitCommonControls();
    AfxOleInit();
    CSetupDlg dlg;
    dlg.DoModal();
    // The dialog's window is gone with its modal loop; returning FALSE ends
    // the program without a message loop of its own.
    return FALSE;
}
