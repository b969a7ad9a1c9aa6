// The wizard's pages.  Every page is a modal dialog over the backdrop; it
// takes the carried data before it is shown (Load), ends with a page
// result (kWizBack, kWizNext, kWizFinish or kWizCancel) and gives its
// part of the data back after it closed (Store).
#pragma once

#include <windows.h>

#include "../controls/ColorLabel.h"
#include "../controls/ShadedButton.h"
#include "../framework/AfxDialog.h"
#include "../resources/setup/resource.h"
#include "WizardFlow.h"

// What every page does: the icons of the backdrop, the title label with
// its shadow, the shaded faces of the navigation and cancel buttons, the
// page centred over the backdrop, and "上一步" / "下一步" ending the page
// with kWizBack / kWizNext unless the page says otherwise.
class CWizardPage : public CDialog, public IWizardPage {
public:
    CWizardPage(UINT nIDTemplate, CWnd* pParent);

    // IWizardPage
    void Load(const WizardData&) override {}
    long Show() override { return static_cast<long>(DoModal()); }
    void Store(WizardData&) const override {}

    BEGIN_MSG_TABLE(CWizardPage, CDialog)
    ON_COMMAND(IDC_BACK, OnBack)
    ON_COMMAND(IDC_NEXT, OnNext)
    END_MSG_TABLE()

protected:
    // Common initialisation around the page's own OnInitPage.
    BOOL OnInitDialog() final;
    virtual void OnInitPage() {}

    virtual void OnBack() { EndDialog(kWizBack); }
    virtual void OnNext() { EndDialog(kWizNext); }
    void EnableNext(BOOL enable) const { EnableDlgItem(IDC_NEXT, enable); }

    // Bound to the template's controls at every showing; a page without
    // one of the buttons leaves its object unbound.
    CColorLabel m_title;
    CShadedButton m_btnBack;
    CShadedButton m_btnNext;
    CShadedButton m_btnCancel;
};

class CWelcomePage : public CWizardPage {
public:
    explicit CWelcomePage(CWnd* pParent);

protected:
    void OnInitPage() override;

private:
    CColorLabel m_text;
};

class CLicensePage : public CWizardPage {
public:
    explicit CLicensePage(CWnd* pParent);

    void Load(const WizardData& data) override { m_bAgree = data.bAgreement; }
    void Store(WizardData& data) const override { data.bAgreement = m_bAgree != FALSE; }

    BOOL m_bAgree = FALSE;

    BEGIN_MSG_TABLE(CLicensePage, CWizardPage)
    ON_COMMAND(IDC_AGREE, OnAgree)
    ON_COMMAND(IDC_DISAGREE, OnDisagree)
    END_MSG_TABLE()

protected:
    void OnInitPage() override;

private:
    void OnAgree();
    void OnDisagree();
};

class CInstallPathPage : public CWizardPage {
public:
    explicit CInstallPathPage(CWnd* pParent);

    void Load(const WizardData& data) override { m_strDestDir = data.strDestDir; }
    void Store(WizardData& data) const override { data.strDestDir = m_strDestDir.str(); }

    CString m_strDestDir;

    BEGIN_MSG_TABLE(CInstallPathPage, CWizardPage)
    ON_COMMAND(IDC_BROWSE, OnBrowse)
    END_MSG_TABLE()

protected:
    void OnInitPage() override;
    // Takes the edit box's folder, and ends the page only when it is
    // plausible and no system folder; for a drive's root it asks first.
    void OnNext() override;

private:
    void OnBrowse();
};

// The destination as ClassifyDestination sees it, against this system's
// own folders (framework/AfxSystemFolders.h).
DestinationKind CheckDestination(const std::string& dest);

class CFinishPage : public CWizardPage {
public:
    explicit CFinishPage(CWnd* pParent);

    void Load(const WizardData& data) override { m_strDestDir = data.strDestDir; }

    CString m_strDestDir;

protected:
    void OnInitPage() override;
    // "完成" sits where the other pages have "下一步": it opens the readme
    // when asked and ends the wizard.
    void OnNext() override;
};
