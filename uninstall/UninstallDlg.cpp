#include "uninstall/UninstallDlg.h"

#include <io.h>

#include <string>

#include "common/install_log.h"
#include "common/mbcs.h"
#include "common/paths.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxModule.h"
#include "framework/AfxRegistry.h"
#include "framework/AfxRun.h"
#include "framework/AfxWin.h"
#include "uninstall/UninstallCore.h"

CUninstallDlg::CUninstallDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

INT_PTR CUninstallDlg::DoModal() {
    m_job.m_bSilent = m_ui != kUiInteractive;
    INT_PTR result = m_ui == kUiInteractive ? CDialog::DoModal() : RunModeless(m_ui == kUiSilent);
    // After a cancel the job may be between two entries; it stops before
    // the next one (its messages to the closed dialog fail at once).
    m_run.EndJob();
    // A cancel that came once the job had done all its work cancelled
    // nothing: the run says how the work went.
    if (m_run.IsStarted()) {
        if (m_job.m_bFinished) {
            m_nExitCode = FinishedExitCode();
        } else {
            AfxLog("cancelled");
            m_nExitCode = kExitCancelled;
        }
    }
    return result;
}

int CUninstallDlg::FinishedExitCode() const {
    if (!m_job.m_failures.empty() || !m_job.m_skipped.empty()) return kExitSomeFailed;
    return m_job.m_atRestart.empty() ? kExitDone : kExitRestart;
}

std::vector<std::string> CUninstallDlg::NoticeItems() const {
    std::vector<std::string> items = m_job.m_failures;
    for (const std::string& entry : m_job.m_skipped) {
        CString item;
        item.Format(IDS_PASSED_OVER, entry.c_str());
        items.push_back(item.str());
    }
    return items;
}

BOOL CUninstallDlg::GetInstallPath(CString& path) {
    path.Empty();
    CRegKey key;
    std::string folder;
    if (key.Open(HKEY_LOCAL_MACHINE, v9::kProductKey, KEY_QUERY_VALUE | kRegView32) !=
            ERROR_SUCCESS ||
        key.QueryValue(kInstallPathValue, folder) != ERROR_SUCCESS)
        return FALSE;
    // A trailing "\" is tested as the last character, not the last byte:
    // the second byte of a double-byte character may equal "\".
    path = WithTrailingBackslash(folder);
    return TRUE;
}

CString CUninstallDlg::RecordPath() {
    CString folder;
    if (!GetInstallPath(folder)) {
        // The folder is the part up to and including the last separator
        // character.
        std::string module = AfxGetModulePath();
        size_t cut = LastSeparatorOffset(module);
        if (cut != std::string::npos) module.resize(cut + 1);
        folder = module.c_str();
    }
    return folder + kRecordFileName;
}

BOOL CUninstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcons(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)));

    m_stcDone.m_hWnd = GetDlgItem(IDC_DONE_TEXT);
    m_grpFrame.m_hWnd = GetDlgItem(IDC_FRAME);
    m_stcCurrent.m_hWnd = GetDlgItem(IDC_CURRENT);
    m_lblTitle.SubclassDlgItem(IDC_TITLE, m_hWnd);
    m_btnFinish.SubclassDlgItem(IDOK, m_hWnd);
    m_btnCancel.SubclassDlgItem(IDCANCEL, m_hWnd);
    m_run.Bind(m_hWnd, IDC_PROGRESS, IDC_CURRENT);

    m_lblTitle.SetShadow(true);
    m_btnFinish.GenerateFaces(ShadeRoundedBump);
    m_btnCancel.GenerateFaces(ShadeSoftBump);

    EnableDlgItem(IDOK, FALSE);
    ShowDlgItem(IDC_DONE_TEXT, SW_HIDE);

    CString record = RecordPath();
    if (::_access(record, 0) != 0) {
        AfxLog("no record: %s", static_cast<LPCSTR>(record));
        PostMessage(WM_CLOSE);
        return FALSE;
    }

    if (!m_job.LoadRecord(record)) {
        // The job has shown the file error and posted its failure, which
        // reports and ends the dialog before this close arrives.
        PostMessage(WM_CLOSE);
        return TRUE;
    }
    m_run.SetSteps(m_job.CountEntries(kFileCopy));
    m_run.Start();
    return TRUE;
}

void CUninstallDlg::OnCancel() {
    // While the failure box is up, a close queued behind it must not end
    // the dialog under the box.
    if (m_bReportingFailure) return;
    // The job stops before its next entry from here on, not only once the
    // dialog has gone; the exit code is settled when it has ended (DoModal).
    m_job.Stop();
    CDialog::OnCancel();
}

LRESULT CUninstallDlg::OnProgress(WPARAM, LPARAM lParam) {
    const char* path = reinterpret_cast<const char*>(lParam);
    std::string line = path ? path : "";
    line += " ... ";
    m_run.Step(line.c_str());
    return 1;
}

LRESULT CUninstallDlg::OnFilesDone(WPARAM, LPARAM) {
    SetDlgItemText(IDC_CURRENT, "");
    return 1;
}

LRESULT CUninstallDlg::OnDone(WPARAM, LPARAM) {
    SetDlgItemText(IDC_CURRENT, "");
    ShowDlgItem(IDC_PROGRESS, SW_HIDE);
    ShowDlgItem(IDC_FRAME, SW_HIDE);
    if (!m_job.m_atRestart.empty())
        SetDlgItemText(IDC_DONE_TEXT, AfxLoadString(IDS_DONE_AT_RESTART));
    ShowDlgItem(IDC_DONE_TEXT, SW_SHOW);
    EnableDlgItem(IDOK, TRUE);
    ::SetFocus(GetDlgItem(IDOK));
    m_bDone = true;
    m_nExitCode = FinishedExitCode();
    const std::vector<std::string> items = NoticeItems();
    if (m_ui != kUiInteractive) {
        EndDialog(IDOK);
    } else if (!items.empty()) {
        // Shown over "卸载完成!": what stays can be removed by hand, and
        // what was passed over looked at.
        m_bReportingFailure = true;
        MessageBox(AfxFailureNotice(AfxLoadString(IDS_ITEMS_NOT_REMOVED), items).c_str(), NULL,
                   MB_OK | MB_ICONWARNING);
        m_bReportingFailure = false;
    }
    return 1;
}

LRESULT CUninstallDlg::OnFailed(WPARAM, LPARAM) {
    const CString failed = AfxLoadString(IDS_UNINSTALL_FAILED);
    AfxLog("%s", static_cast<LPCSTR>(failed));
    m_bReportingFailure = true;
    if (m_ui == kUiInteractive) AfxMessageBox(m_hWnd, failed, MB_OK | MB_ICONINFORMATION);
    m_bReportingFailure = false;
    EndDialog(2);
    return 1;
}
