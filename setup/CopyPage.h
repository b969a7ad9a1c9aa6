// CCopyPage: the wizard page that runs the installation.  It counts the
// package's files, starts the install job and follows it through the job's
// messages until the job reports its end.
#pragma once

#include "../controls/JobProgress.h"
#include "../controls/PercentProgressCtrl.h"
#include "SetupMessages.h"
#include "SetupThread.h"
#include "WizardPages.h"

class CCopyPage : public CWizardPage {
public:
    explicit CCopyPage(CWnd* pParent);

    void Load(const WizardData& data) override;
    void Store(WizardData& data) const override { data.strSourceDir = m_strSourceDir.str(); }

    // Shows the page; returns only once the job's thread has ended, so the
    // job object is never freed while it runs.
    INT_PTR DoModal() override;

    // The number of plain files in the nine package folders of source
    // (subfolders are not counted; a missing folder counts 0).
    static int CountPackageFiles(const CString& sourceDir);
    static int CountFiles(const CString& folder);

    CString m_strSourceDir;
    CString m_strDestDir;

    // The job's exit code once the page has closed; cancelled when the job
    // never started.
    int ExitCode() const { return m_run.IsStarted() ? m_job.m_nExitCode : kExitCancelled; }

    BEGIN_MSG_TABLE(CCopyPage, CWizardPage)
    ON_MESSAGE(WM_SETUP_PROGRESS, OnProgress)
    ON_MESSAGE(WM_SETUP_CONFIGURING, OnConfiguring)
    ON_MESSAGE(WM_SETUP_DONE, OnDone)
    ON_MESSAGE(WM_SETUP_FAILED, OnFailed)
    ON_MESSAGE(WM_SETUP_UNDOING, OnUndoing)
    ON_MESSAGE(WM_SETUP_UNDO_STEP, OnProgress)
    END_MSG_TABLE()

protected:
    void OnInitPage() override;
    // Enter must neither end the page nor start the job again.
    void OnOK() override {}
    void OnCancel() override;
    // The job runs: there is no way back.
    void OnBack() override {}

private:
    LRESULT OnProgress(WPARAM, LPARAM lParam);
    LRESULT OnConfiguring(WPARAM, LPARAM);
    LRESULT OnDone(WPARAM, LPARAM);
    LRESULT OnFailed(WPARAM, LPARAM);
    LRESULT OnUndoing(WPARAM wParam, LPARAM);

    CPercentProgressCtrl m_progress;
    CSetupThread m_job;
    CJobProgress m_run{m_job, m_progress};  // goes first: waits for the job's end
    // No more cancelling: the job is past its copy phase, or a cancel was
    // confirmed and the page waits for the job's end.
    BOOL m_bConfiguring = FALSE;
};
