#include "uninstall/UninstallApp.h"

#include "uninstall/UninstallDlg.h"

CUninstallApp theApp;

BOOL CUninstallApp::InitInstance() {
    AfxInitCommonControls();
    AfxOleInit();
    if (::MessageBoxA(NULL, "真要卸载 Quilm V9.0 吗?", "卸载软件", MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return FALSE;
    // The dialog's destructor waits for a job still running (after a
    // cancel) before the job object goes.
    CUninstallDlg dlg;
    dlg.DoModal();
    return FALSE;
}
