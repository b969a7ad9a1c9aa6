#include "uninstall/UninstallDlg.h"

#include <io.h>

#include <string>

#include "common/mbcs.h"
#include "common/paths.h"
#include "framework/AfxWin.h"
#include "resources/uninstall/resource.h"

namespace {

const char kProductKey[] = "SOFTWARE\\Corvantix\\Quilm\\V9";
const char kRecordName[] = "Uninstall.log";
const char kFailedText[] = "Quilm V9.0 卸载未能完成!";

}  // namespace

CUninstallDlg::CUninstallDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CUninstallDlg::~CUninstallDlg() {
    // Never free the job while its thread still uses it.
    EndJob();
}

void CUninstallDlg::EndJob() {
    if (!m_job.m_hThread) return;
    m_job.Stop();
    m_job.WaitForEnd();
}

INT_PTR CUninstallDlg::DoModal() {
    INT_PTR result = CDialog::DoModal();
    // After a cancel the job may be between two entries; it stops before
    // the next one (its messages to the closed dialog fail at once).
    EndJob();
    return result;
}

BOOL CUninstallDlg::GetInstallPath(CString& path) {
    path.Empty();
    HKEY key = NULL;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return FALSE;
    char buffer[1024] = {0};
    DWORD size = sizeof(buffer) - 1;  // room for a terminator the value may lack
    BOOL found = ::RegQueryValueExA(key, "installPath", NULL, NULL,
                                    reinterpret_cast<LPBYTE>(buffer), &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    if (!found) return FALSE;
    buffer[size < sizeof(buffer) ? size : sizeof(buffer) - 1] = '\0';
    // A trailing "\" is tested as the last character, not the last byte:
    // the second byte of a double-byte character may equal "\".
    path = WithTrailingBackslash(buffer).c_str();
    return TRUE;
}

CString CUninstallDlg::RecordPath() {
    CString folder;
    if (!GetInstallPath(folder)) {
        // Long enough for any module path; the folder is the part up to and
        // including the last separator character.
        std::string module(32768, '\0');
        DWORD n = ::GetModuleFileNameA(NULL, &module[0], static_cast<DWORD>(module.size()));
        module.resize(n < module.size() ? n : 0);
        size_t cut = LastSeparatorOffset(module);
        if (cut != std::string::npos) module.resize(cut + 1);
        folder = module.c_str();
    }
    return folder + kRecordName;
}

BOOL CUninstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_stcDone.m_hWnd = GetDlgItem(IDC_DONE_TEXT);
    m_grpFrame.m_hWnd = GetDlgItem(IDC_FRAME);
    m_stcCurrent.m_hWnd = GetDlgItem(IDC_CURRENT);
    m_lblTitle.SubclassDlgItem(IDC_TITLE, m_hWnd);
    m_btnFinish.SubclassDlgItem(IDOK, m_hWnd);
    m_btnCancel.SubclassDlgItem(IDCANCEL, m_hWnd);
    m_progress.SubclassDlgItem(IDC_PROGRESS, m_hWnd);

    m_lblTitle.SetShadow(TRUE);
    m_btnFinish.GenerateFaces(7, 8, 10, 0, 0);
    m_btnCancel.GenerateFaces(6, 8, 10, 0, 0);

    EnableDlgItem(IDOK, FALSE);
    ShowDlgItem(IDC_DONE_TEXT, SW_HIDE);

    CString record = RecordPath();
    if (::_access(record, 0) != 0) {
        PostMessage(WM_CLOSE);
        return FALSE;
    }

    m_self.m_hWnd = m_hWnd;
    m_job.m_pMainWnd = &m_self;
    m_job.m_bAutoDelete = FALSE;
    if (!m_job.LoadRecord(record)) {
        // The job has shown the file error and posted its failure, which
        // reports and ends the dialog before this close arrives.
        PostMessage(WM_CLOSE);
        return TRUE;
    }
    m_progress.SetRange(0, m_job.CountEntries(0));
    m_progress.SetStep(1);
    m_job.CreateThread(0, 0, NULL);
    return TRUE;
}

void CUninstallDlg::OnCancel() {
    // While the failure box is up, a close queued behind it must not end
    // the dialog under the box.
    if (m_bReportingFailure) return;
    CDialog::OnCancel();
}

LRESULT CUninstallDlg::OnProgress(WPARAM, LPARAM lParam) {
    const char* path = reinterpret_cast<const char*>(lParam);
    std::string line = path ? path : "";
    line += " ... ";
    SetDlgItemText(IDC_CURRENT, line.c_str());
    m_progress.StepIt();
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
    ShowDlgItem(IDC_DONE_TEXT, SW_SHOW);
    EnableDlgItem(IDOK, TRUE);
    ::SetFocus(GetDlgItem(IDOK));
    return 1;
}

LRESULT CUninstallDlg::OnFailed(WPARAM, LPARAM) {
    m_bReportingFailure = TRUE;
    AfxMessageBox(m_hWnd, kFailedText, MB_OK | MB_ICONINFORMATION);
    m_bReportingFailure = FALSE;
    EndDialog(2);
    return 1;
}

BOOL CUninstallDlg::PaintMinimized() {
    if (!::IsIconic(m_hWnd)) return FALSE;
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    int x = (rect.right - rect.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.bottom - rect.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
    return TRUE;
}
