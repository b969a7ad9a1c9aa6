// CSilentSetupDlg: the installation without a person.  No wizard page and
// no question: the job copies from the medium the program runs from into
// the given folder, installing over an earlier installation, and every
// prompt it would show takes the answer that stops safely.  With progress
// the dialog shows the bar and the current file; otherwise it is never
// shown at all.  It closes itself when the job has ended.
#pragma once

#include <string>

#include "../controls/JobProgress.h"
#include "../controls/PercentProgressCtrl.h"
#include "../framework/AfxDialog.h"
#include "SetupMessages.h"
#include "SetupThread.h"

class CSilentSetupDlg : public CDialog {
public:
    // destDir: the install folder, ending with "\".
    CSilentSetupDlg(bool showProgress, const std::string& destDir);

    // Runs the installation; returns the program's exit code.
    int Run();

    BEGIN_MSG_TABLE(CSilentSetupDlg, CDialog)
    ON_MESSAGE(WM_SETUP_PROGRESS, OnProgress)
    ON_MESSAGE(WM_SETUP_CONFIGURING, OnConfiguring)
    ON_MESSAGE(WM_SETUP_DONE, OnEnd)
    ON_MESSAGE(WM_SETUP_FAILED, OnEnd)
    ON_MESSAGE(WM_SETUP_UNDOING, OnUndoing)
    ON_MESSAGE(WM_SETUP_UNDO_STEP, OnProgress)
    END_MSG_TABLE()

protected:
    BOOL OnInitDialog() override;
    // Nobody is asked, so nothing is cancelled: Esc and Enter do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    LRESULT OnProgress(WPARAM, LPARAM lParam);
    LRESULT OnConfiguring(WPARAM, LPARAM);
    LRESULT OnEnd(WPARAM, LPARAM);
    LRESULT OnUndoing(WPARAM wParam, LPARAM);

    bool m_bShowProgress;
    CPercentProgressCtrl m_progress;
    CSetupThread m_job;
    CJobProgress m_run{m_job, m_progress};  // goes first: waits for the job's end
};
