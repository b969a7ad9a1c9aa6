#include "SetupApp.h"

#include "../common/product_v8.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxRun.h"
#include "SetupDlg.h"
#include "SilentSetup.h"
#include "WizardPages.h"

CSetupApp theApp;

BOOL CSetupApp::InitInstance() {
    const CommandLine line = ParseCommandLine(m_lpCmdLine, true);
    if (!AfxBeginRun(line, m_lpCmdLine, v8::kSetupFile, "QuilmSetup", v8::kVersion, m_nExitCode))
        return FALSE;
    // Unattended, nobody can be asked about a destination the uninstaller
    // could not clean up safely: it is refused before anything is touched.
    // (The wizard's destination page refuses or asks.)
    const DestinationKind kind =
        line.ui == kUiInteractive || line.dir.empty() ? kDestOrdinary : CheckDestination(line.dir);
    if (kind != kDestOrdinary) {
        AfxLog(
            "/DIR refused: %s is %s; the uninstaller could not remove the installation safely "
            "there",
            line.dir.c_str(), kind == kDestDriveRoot ? "a drive's root" : "a system folder");
        m_nExitCode = AfxEndRun(kExitBadCommandLine);
        return FALSE;
    }
    AfxInitCommonControls();
    AfxOleInit();
    if (line.ui == kUiInteractive) {
        CSetupDlg dlg;
        dlg.m_strDefaultDir = line.dir;
        dlg.DoModal();
        m_nExitCode = dlg.m_nExitCode;
    } else {
        CSilentSetupDlg dlg(line.ui == kUiSilent, CSetupDlg::DefaultDestination(line.dir));
        m_nExitCode = dlg.Run();
    }
    m_nExitCode = AfxEndRun(m_nExitCode);
    // The windows are gone with their loops; returning FALSE ends the
    // program without a message loop of its own.
    return FALSE;
}
