#include "SilentSetup.h"

#include "../common/paths.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxModule.h"
#include "../resources/setup/resource.h"
#include "CopyPage.h"
#include "MediumSize.h"
#include "SetupDlg.h"

CSilentSetupDlg::CSilentSetupDlg(bool showProgress, const std::string& destDir)
    : CDialog(IDD_SILENT), m_bShowProgress(showProgress) {
    m_job.m_strDestDir = NormalizedFolder(destDir).c_str();
    m_job.m_bSilent = true;
}

int CSilentSetupDlg::Run() {
    m_job.m_strSourceDir = NormalizedFolder(FolderOfProgram(AfxGetModulePath())).c_str();
    if (CSetupDlg::IsInstalled()) AfxLog("installed already: installing over it");
    if (RunModeless(m_bShowProgress) < 0) AfxLog("the progress window could not be made");
    m_run.EndJob();
    return m_job.m_nExitCode;
}

BOOL CSilentSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_run.Bind(m_hWnd, IDC_PROGRESS, IDC_COPY_ITEM);
    m_progress.EnableText(true);
    const MediumSize size = MeasureMedium(m_job.m_strSourceDir);
    m_run.SetSteps(size.packageFiles + 15);
    m_job.m_nBytesToCopy = size.bytes;
    if (!m_run.Start()) EndDialog(0);
    return TRUE;
}

LRESULT CSilentSetupDlg::OnProgress(WPARAM, LPARAM lParam) {
    const char* path = reinterpret_cast<const char*>(lParam);
    m_run.Step(ProgressLine(path ? path : "", m_job.m_strDestDir.str()).c_str());
    return 0;  // as on the copy page: the result the dialog manager holds already
}

LRESULT CSilentSetupDlg::OnConfiguring(WPARAM, LPARAM) {
    SetDlgItemText(IDC_COPY_ITEM, AfxLoadString(IDS_CONFIGURING));
    return 1;
}

LRESULT CSilentSetupDlg::OnUndoing(WPARAM wParam, LPARAM) {
    m_run.CountDown(static_cast<int>(wParam));
    return 1;
}

LRESULT CSilentSetupDlg::OnEnd(WPARAM, LPARAM) {
    EndDialog(0);
    return 1;
}
