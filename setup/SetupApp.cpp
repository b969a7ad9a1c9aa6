#include "SetupApp.h"

#include "SetupDlg.h"

CSetupApp theApp;

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    CSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The dialog's window is gone with its modal loop; returning FALSE ends
    // the program without a message loop of its own.
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
