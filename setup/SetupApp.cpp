#include "SetupApp.h"

#include "../common/product_v8.h"
#include "../framework/AfxRun.h"
#include "SetupDlg.h"
#include "SilentSetup.h"

CSetupApp theApp;

BOOL CSetupApp::InitInstance() {
    const CommandLine line = ParseCommandLine(m_lpCmdLine, true);
    if (!AfxBeginRun(line, m_lpCmdLine, v8::kSetupFile, "QuilmSetup", v8::kVersion, m_nExitCode))
        return FALSE;
    AfxInitCommonControls();
    AfxOleInit();
    if (line.ui == kUiInteractive) {
        CSetupDlg dlg;
        dlg.m_strDefaultDir = line.dir;
        dlg.DoModal();
        m_nExitCode = dlg.m_nExitCode;
    } else {
        CSilentSetupDlg dlg(line.ui == kUiSilent,
                            line.dir.empty() ? CSetupDlg::kDefaultDestDir : line.dir);
        m_nExitCode = dlg.Run();
    }
    AfxEndRun(m_nExitCode);
    // The windows are gone with their loops; returning FALSE ends the
    // program without a message loop of its own.
    return FALSE;
}
