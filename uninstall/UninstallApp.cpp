#include "uninstall/UninstallApp.h"

#include "common/mbcs.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxRun.h"
#include "host/ProgramsInUse.h"
#include "resources/uninstall/resource.h"
#include "uninstall/UninstallDlg.h"

CUninstallApp theApp;

namespace {

// The folder the record is looked for in, ending with "\".
std::string InstallFolder() {
    const std::string record = CUninstallDlg::RecordPath().str();
    return record.substr(0, LastSeparatorOffset(record) + 1);
}

int AskAboutProgramsInUse(const std::string& list) {
    CString text;
    text.Format(IDS_PROGRAMS_IN_USE, list.c_str());
    AfxGetLog().Flush();
    return ::MessageBoxA(NULL, text, AfxLoadString(IDS_UNINSTALL_CAPTION),
                         MB_CANCELTRYCONTINUE | MB_ICONWARNING);
}

}  // namespace

BOOL CUninstallApp::InitInstance() {
    const CommandLine line = ParseCommandLine(m_lpCmdLine, false);
    if (!AfxBeginRun(line, m_lpCmdLine, v8::kUninstallerFile, "QuilmUninstall", v8::kVersion,
                     m_nExitCode))
        return FALSE;
    AfxInitCommonControls();
    AfxOleInit();
    if (line.ui == kUiInteractive &&
        ::MessageBoxA(NULL, AfxLoadString(IDS_UNINSTALL_QUESTION),
                      AfxLoadString(IDS_UNINSTALL_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        AfxLog("not uninstalled: the question was answered No");
        m_nExitCode = kExitCancelled;
    } else if (!GoOnWithProgramsInUse(InstallFolder(), line.ui != kUiInteractive,
                                      AskAboutProgramsInUse)) {
        AfxLog("cancelled before the removal: programs use the installation");
        m_nExitCode = kExitCancelled;
    } else {
        // The dialog's destructor waits for a job still running (after a
        // cancel) before the job object goes.
        CUninstallDlg dlg;
        dlg.m_ui = line.ui;
        dlg.DoModal();
        m_nExitCode = dlg.m_nExitCode;
    }
    m_nExitCode = AfxEndRun(m_nExitCode);
    return FALSE;
}
