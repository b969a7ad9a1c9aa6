// CUninstallDlg: the uninstaller's only dialog.  Its initialisation finds
// and loads Uninstall.log and starts the uninstall job; the job's messages
// move the progress bar and report the end.
#pragma once

#include "common/messages.h"
#include "controls/ColorLabel.h"
#include "controls/PercentProgressCtrl.h"
#include "controls/ShadedButton.h"
#include "framework/AfxCtrl.h"
#include "framework/AfxDialog.h"
#include "resources/uninstall/resource.h"
#include "uninstall/UninstallThread.h"

class CUninstallDlg : public CDialog {
public:
    enum { IDD = IDD_UNINSTALL };
    explicit CUninstallDlg(CWnd* pParent = nullptr);
    ~CUninstallDlg() override;

    // Shows the dialog; returns only once the job's thread has ended.
    INT_PTR DoModal() override;

    // "installPath" of the product key, ending with "\"; FALSE when the key
    // or the value is missing.
    static BOOL GetInstallPath(CString& path);
    // Where the record is looked for: the install folder from the product
    // key, else the folder of this program.
    static CString RecordPath();

    CStatic m_stcDone;                // IDC_DONE_TEXT
    CButton m_grpFrame;               // IDC_FRAME
    CColorLabel m_lblTitle;           // IDC_TITLE
    CShadedButton m_btnFinish;        // IDOK
    CShadedButton m_btnCancel;        // IDCANCEL
    CStatic m_stcCurrent;             // IDC_CURRENT
    CPercentProgressCtrl m_progress;  // IDC_PROGRESS
    HICON m_hIcon;
    CUninstallThread m_job;

    BEGIN_MSG_TABLE(CUninstallDlg, CDialog)
    ON_MESSAGE(WM_UNINSTALL_PROGRESS, OnProgress)
    ON_MESSAGE(WM_UNINSTALL_FILES_DONE, OnFilesDone)
    ON_MESSAGE(WM_UNINSTALL_DONE, OnDone)
    ON_MESSAGE(WM_UNINSTALL_FAILED, OnFailed)
    // Minimised, the dialog paints its icon; otherwise the default.
    if (message == WM_PAINT && PaintMinimized()) {
        lResult = 0;
        return TRUE;
    }
    ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
    END_MSG_TABLE()

    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    LRESULT OnProgress(WPARAM, LPARAM lParam);
    LRESULT OnFilesDone(WPARAM, LPARAM);
    LRESULT OnDone(WPARAM, LPARAM);
    LRESULT OnFailed(WPARAM, LPARAM);
    BOOL PaintMinimized();
    LRESULT OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

    void EndJob();

    CWnd m_self;  // the dialog as the job's owner window
    BOOL m_bReportingFailure = FALSE;
};
