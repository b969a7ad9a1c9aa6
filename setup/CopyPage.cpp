#include "CopyPage.h"

#include "../common/paths.h"
#include "../framework/AfxFile.h"
#include "../framework/AfxRun.h"
#include "../resources/setup/resource.h"
#include "MediumSize.h"

CCopyPage::CCopyPage(CWnd* pParent) : CWizardPage(IDD_COPY, pParent) {}

void CCopyPage::Load(const WizardData& data) {
    m_strSourceDir = data.strSourceDir.c_str();
    m_strDestDir = data.strDestDir.c_str();
}

INT_PTR CCopyPage::DoModal() {
    INT_PTR result = CWizardPage::DoModal();
    // The page ends with the job's last message; its thread ends then too.
    m_run.EndJob();
    return result;
}

int CCopyPage::CountFiles(const CString& folder) {
    ULONGLONG bytes = 0;
    return MeasureFolder(folder, bytes);
}

int CCopyPage::CountPackageFiles(const CString& sourceDir) {
    return MeasureMedium(sourceDir).packageFiles;
}

void CCopyPage::OnInitPage() {
    EnableNext(FALSE);
    EnableDlgItem(IDC_BACK, FALSE);
    m_bConfiguring = FALSE;
    m_strSourceDir = NormalizedFolder(m_strSourceDir.str()).c_str();
    m_strDestDir = NormalizedFolder(m_strDestDir.str()).c_str();

    // Range: the files to copy and a margin of 15.  The same walk gives
    // the job the space it needs.
    const MediumSize size = MeasureMedium(m_strSourceDir);
    m_run.Bind(m_hWnd, IDC_PROGRESS, IDC_COPY_ITEM);
    m_progress.EnableText(true);
    m_run.SetSteps(size.packageFiles + 15);

    // A job object runs once: a page shown again does not start it again.
    if (m_run.IsStarted()) return;
    m_job.m_strSourceDir = m_strSourceDir;
    m_job.m_strDestDir = m_strDestDir;
    m_job.m_nBytesToCopy = size.bytes;
    m_run.Start();
}

LRESULT CCopyPage::OnProgress(WPARAM, LPARAM lParam) {
    const char* path = reinterpret_cast<const char*>(lParam);
    m_run.Step(ProgressLine(path ? path : "", m_strDestDir.str()).c_str());
    // The job does not look at the answer.  0 is what the dialog manager
    // has stored as the message's result already, so no window data
    // changes for each of the job's thousands of messages.
    return 0;
}

LRESULT CCopyPage::OnConfiguring(WPARAM, LPARAM) {
    // From here on the job no longer stops on request: no cancelling.
    m_bConfiguring = TRUE;
    SetDlgItemText(IDC_COPY_ITEM, "");
    ShowDlgItem(IDC_PROGRESS, SW_HIDE);
    ShowDlgItem(IDC_COPY_GROUP, SW_HIDE);
    ShowDlgItem(IDC_CONFIGURING, SW_SHOW);
    EnableDlgItem(IDCANCEL, FALSE);
    return 1;
}

LRESULT CCopyPage::OnDone(WPARAM, LPARAM) {
    // What did not get done is named before the finish page: files only,
    // or every kind of item.
    const std::vector<std::string> failures = m_job.Failures();
    if (!failures.empty()) {
        UINT headline = m_job.m_failedItems.empty() ? IDS_FILES_NOT_COPIED : IDS_ITEMS_FAILED;
        MessageBox(AfxFailureNotice(AfxLoadString(headline), failures).c_str(), NULL,
                   MB_OK | MB_ICONWARNING);
    }
    if (!m_job.m_unsupportedHosts.empty())
        MessageBox(AfxFailureNotice(AfxLoadString(IDS_HOSTS_UNSUPPORTED), m_job.m_unsupportedHosts)
                       .c_str(),
                   NULL, MB_OK | MB_ICONINFORMATION);
    if (!m_job.m_atRestart.empty())
        MessageBox(AfxFailureNotice(AfxLoadString(IDS_RESTART_NEEDED), m_job.m_atRestart).c_str(),
                   NULL, MB_OK | MB_ICONINFORMATION);
    EnableNext(TRUE);
    EndDialog(kWizNext);
    return 1;
}

LRESULT CCopyPage::OnUndoing(WPARAM wParam, LPARAM) {
    // The undo runs to its end: no cancelling it.
    m_bConfiguring = TRUE;
    EnableDlgItem(IDCANCEL, FALSE);
    SetDlgItemText(IDC_COPY_GROUP, AfxLoadString(IDS_UNDOING));
    m_run.CountDown(static_cast<int>(wParam));
    return 1;
}

LRESULT CCopyPage::OnFailed(WPARAM, LPARAM) {
    // What only the restart puts back or deletes is named.
    if (!m_job.m_atRestart.empty())
        MessageBox(AfxFailureNotice(AfxLoadString(IDS_UNDO_AT_RESTART), m_job.m_atRestart).c_str(),
                   NULL, MB_OK | MB_ICONINFORMATION);
    // And what the undo had to leave as it is.
    if (!m_job.m_notUndone.empty())
        MessageBox(AfxFailureNotice(AfxLoadString(IDS_NOT_UNDONE), m_job.m_notUndone).c_str(), NULL,
                   MB_OK | MB_ICONWARNING);
    EndDialog(kWizFinish);
    return 1;
}

void CCopyPage::OnCancel() {
    // Esc and the close box come here too, also once "取消" is disabled.
    if (m_bConfiguring) return;
    if (MessageBox(AfxLoadString(IDS_CANCEL_QUESTION), NULL, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The job may have left its copy phase while the question was open; it
    // then finishes and ends the page itself.
    if (m_bConfiguring) return;
    // The page stays until the job says how it ended: stopped in the copy
    // phase (OnFailed), or past it already, run to its end (OnDone).
    // Until then its prompts have their owner.
    m_job.Stop();
    EnableDlgItem(IDCANCEL, FALSE);
    m_bConfiguring = TRUE;  // asked once only
}
