#include "SetupApp.h"

#include "SetupDlg.h"
#include "framework/AfxDllSearch.h"

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
    // Before anything is loaded late by name: never from the program's folder.
    AfxRestrictDllSearch();
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
