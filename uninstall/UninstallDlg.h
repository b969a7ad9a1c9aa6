// CUninstallDlg: the uninstaller's only dialog.  Its initialisation finds
// and loads Uninstall.log and starts the uninstall job; the job's messages
// move the progress bar and report the end.
#pragma once

#include <string>
#include <vector>

#include "common/command_line.h"
#include "controls/ColorLabel.h"
#include "controls/JobProgress.h"
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

    // Runs the dialog (interactive: modal; unattended: closing itself when
    // the job has ended, shown only with progress); returns only once the
    // job's thread has ended.
    INT_PTR DoModal() override;

    // Set before DoModal.
    UiLevel m_ui = kUiInteractive;
    // How the run went, as the program's exit code, once DoModal returned.
    int m_nExitCode = kExitFailed;

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
    CUninstallThread m_job;

    BEGIN_MSG_TABLE(CUninstallDlg, CDialog)
    ON_MESSAGE(WM_UNINSTALL_PROGRESS, OnProgress)
    ON_MESSAGE(WM_UNINSTALL_FILES_DONE, OnFilesDone)
    ON_MESSAGE(WM_UNINSTALL_DONE, OnDone)
    ON_MESSAGE(WM_UNINSTALL_FAILED, OnFailed)
    END_MSG_TABLE()

    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    LRESULT OnProgress(WPARAM, LPARAM lParam);
    LRESULT OnFilesDone(WPARAM, LPARAM);
    LRESULT OnDone(WPARAM, LPARAM);
    LRESULT OnFailed(WPARAM, LPARAM);

    // The exit code of a job that went through all its steps: what stays
    // behind, or was passed over, makes it "some failed".
    int FinishedExitCode() const;
    // What the notice lists: the items left behind, then those passed over
    // with the reason.
    std::vector<std::string> NoticeItems() const;

    CJobProgress m_run{m_job, m_progress};  // goes first: waits for the job's end
    bool m_bReportingFailure = false;
    bool m_bDone = false;  // the job reported its end
};
