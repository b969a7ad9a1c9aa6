#include "uninstall/UninstallApp.h"

#include "uninstall/UninstallDlg.h"
#include "framework/AfxDllSearch.h"

CUninstallApp theApp;

BOOL CUninstallApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    if (::MessageBoxA(NULL, "真要卸载 Quilm V9.0 吗?", "卸载软件", MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return FALSE;
    {
        // The dialog's destructor waits for a job still running (after a
        // cancel) before the job object goes.
        CUninstallDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    // Before anything is loaded late by name: never from the program's folder.
    AfxRestrictDllSearch();
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
