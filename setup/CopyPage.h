// CCopyPage: the wizard page that runs the installation.  It counts the
// package's files, starts the install job and follows it through the job's
// messages until the job reports its end.
#pragma once

#include "../common/messages.h"
#include "../controls/PercentProgressCtrl.h"
#include "SetupThread.h"
#include "WizardPages.h"

class CCopyPage : public CWizardPage {
public:
    explicit CCopyPage(CWnd* pParent);
    ~CCopyPage() override;

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

    BEGIN_MSG_TABLE(CCopyPage, CWizardPage)
    ON_MESSAGE(WM_SETUP_PROGRESS, OnProgress)
    ON_MESSAGE(WM_SETUP_CONFIGURING, OnConfiguring)
    ON_MESSAGE(WM_SETUP_DONE, OnDone)
    ON_MESSAGE(WM_SETUP_FAILED, OnFailed)
    ON_COMMAND(1001, OnNext)
    END_MSG_TABLE()

protected:
    void OnInitPage() override;
    // Enter must neither end the page nor start the job again.
    void OnOK() override {}
    void OnCancel() override;

private:
    LRESULT OnProgress(WPARAM, LPARAM lParam);
    LRESULT OnConfiguring(WPARAM, LPARAM);
    LRESULT OnDone(WPARAM, LPARAM);
    LRESULT OnFailed(WPARAM, LPARAM);
    void OnNext() { EndDialog(ID_WIZNEXT); }

    CPercentProgressCtrl m_progress;
    CSetupThread m_job;
    CWnd m_self;  // the page as the job's owner window
    BOOL m_bConfiguring = FALSE;
};
