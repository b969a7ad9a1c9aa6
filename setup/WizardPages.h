// The wizard's pages.  Every page is a modal dialog over the backdrop; it
// takes the carried data before it is shown (Load), ends with a page
// result (ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH or IDCANCEL) and gives its
// part of the data back after it closed (Store).
#pragma once

#include <windows.h>

#include "../controls/ColorLabel.h"
#include "../controls/ShadedButton.h"
#include "../framework/AfxDialog.h"
#include "WizardFlow.h"

// What every page does: the icons of the backdrop, the title label with
// its shadow, the shaded faces of the navigation and cancel buttons, and
// the page centred over the backdrop.
class CWizardPage : public CDialog, public IWizardPage {
public:
    CWizardPage(UINT nIDTemplate, CWnd* pParent);

    // IWizardPage
    void Load(const WizardData&) override {}
    long Show() override { return static_cast<long>(DoModal()); }
    void Store(WizardData&) const override {}

protected:
    // Common initialisation around the page's own OnInitPage.
    BOOL OnInitDialog() final;
    virtual void OnInitPage() {}

    void EnableNext(BOOL enable) const { EnableDlgItem(1001, enable); }

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

public:
    BEGIN_MSG_TABLE(CWelcomePage, CWizardPage)
    ON_COMMAND(1001, OnNext)
    END_MSG_TABLE()

private:
    void OnNext() { EndDialog(ID_WIZNEXT); }

    CColorLabel m_text;
};

class CLicensePage : public CWizardPage {
public:
    explicit CLicensePage(CWnd* pParent);

    void Load(const WizardData& data) override { m_bAgree = data.bAgreement; }
    void Store(WizardData& data) const override { data.bAgreement = m_bAgree != FALSE; }

    BOOL m_bAgree = FALSE;

    BEGIN_MSG_TABLE(CLicensePage, CWizardPage)
    ON_COMMAND(1007, OnAgree)
    ON_COMMAND(1006, OnDisagree)
    ON_COMMAND(1000, OnBack)
    ON_COMMAND(1001, OnNext)
    END_MSG_TABLE()

protected:
    void OnInitPage() override;

private:
    void OnAgree();
    void OnDisagree();
    void OnBack() { EndDialog(ID_WIZBACK); }
    void OnNext() { EndDialog(ID_WIZNEXT); }
};

class CInstallPathPage : public CWizardPage {
public:
    explicit CInstallPathPage(CWnd* pParent);

    void Load(const WizardData& data) override { m_strDestDir = data.strDestDir; }
    void Store(WizardData& data) const override { data.strDestDir = m_strDestDir.str(); }

    CString m_strDestDir;

    BEGIN_MSG_TABLE(CInstallPathPage, CWizardPage)
    ON_COMMAND(1012, OnBrowse)
    ON_COMMAND(1000, OnBack)
    ON_COMMAND(1001, OnNext)
    END_MSG_TABLE()

protected:
    void OnInitPage() override;

private:
    void OnBrowse();
    void OnBack() { EndDialog(ID_WIZBACK); }
    void OnNext();
};

class CFinishPage : public CWizardPage {
public:
    explicit CFinishPage(CWnd* pParent);

    void Load(const WizardData& data) override { m_strDestDir = data.strDestDir; }

    CString m_strDestDir;

    BEGIN_MSG_TABLE(CFinishPage, CWizardPage)
    ON_COMMAND(1001, OnFinish)
    END_MSG_TABLE()

protected:
    void OnInitPage() override;

private:
    void OnFinish();
};
