#include "WizardPages.h"

#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include "../common/paths.h"
#include "../framework/AfxSystemFolders.h"
#include "../resources/setup/resource.h"
#include "FolderPicker.h"

// CWizardPage

CWizardPage::CWizardPage(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

BOOL CWizardPage::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pParentWnd) {
        SetIcon(reinterpret_cast<HICON>(m_pParentWnd->SendMessage(WM_GETICON, ICON_BIG)), TRUE);
        SetIcon(reinterpret_cast<HICON>(m_pParentWnd->SendMessage(WM_GETICON, ICON_SMALL)), FALSE);
    }
    if (m_title.SubclassDlgItem(IDC_TITLE, this)) m_title.SetShadow(TRUE);
    // Navigation and finish buttons get the rounded faces, cancel the soft ones.
    struct {
        CShadedButton* button;
        int id;
        uint32_t style;
    } const buttons[] = {{&m_btnBack, IDC_BACK, ShadeRoundedBump},
                         {&m_btnNext, IDC_NEXT, ShadeRoundedBump},
                         {&m_btnCancel, IDCANCEL, ShadeSoftBump}};
    for (const auto& b : buttons) {
        if (GetDlgItem(b.id) && b.button->SubclassDlgItem(b.id, this))
            b.button->GenerateFaces(b.style);
    }
    OnInitPage();
    CenterWindow();
    return TRUE;
}

// CWelcomePage

CWelcomePage::CWelcomePage(CWnd* pParent) : CWizardPage(IDD_WELCOME, pParent) {}

void CWelcomePage::OnInitPage() {
    m_text.SubclassDlgItem(IDC_WELCOME_TEXT, this);
}

// CLicensePage

CLicensePage::CLicensePage(CWnd* pParent) : CWizardPage(IDD_LICENSE, pParent) {}

void CLicensePage::OnInitPage() {
    SetDlgItemText(IDC_LICENSE_TEXT, AfxLoadString(IDS_LICENSE_TEXT));
    CheckDlgButton(IDC_AGREE, m_bAgree ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_DISAGREE, m_bAgree ? BST_UNCHECKED : BST_CHECKED);
    EnableNext(m_bAgree);
}

// The two radio buttons lie in groups of their own, so the system does not
// clear one when the other is clicked: the handlers keep them exclusive.
void CLicensePage::OnAgree() {
    BOOL agree = IsDlgButtonChecked(IDC_AGREE) == BST_CHECKED;
    CheckDlgButton(IDC_DISAGREE, agree ? BST_UNCHECKED : BST_CHECKED);
    EnableNext(agree);
    m_bAgree = agree;
}

void CLicensePage::OnDisagree() {
    BOOL agree = IsDlgButtonChecked(IDC_DISAGREE) != BST_CHECKED;
    CheckDlgButton(IDC_AGREE, agree ? BST_CHECKED : BST_UNCHECKED);
    EnableNext(agree);
    m_bAgree = agree;
}

// CInstallPathPage

CInstallPathPage::CInstallPathPage(CWnd* pParent) : CWizardPage(IDD_INSTALL_PATH, pParent) {}

void CInstallPathPage::OnInitPage() {
    SetDlgItemText(IDC_DEST_EDIT, m_strDestDir);
}

void CInstallPathPage::OnBrowse() {
    CString folder = GetDlgItemText(IDC_DEST_EDIT);
    CPresetFolderPicker picker(m_hWnd, IDS_BROWSE_TITLE);
    picker.SetFlags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
    picker.SetStartFolder(folder);
    if (!picker.Browse()) return;
    // Only the edit box changes; the destination is taken on "下一步".
    SetDlgItemText(IDC_DEST_EDIT, BrowsedDestination(picker.GetChosenPath().str()).c_str());
}

void CInstallPathPage::OnNext() {
    // Kept even when refused, so the text is shown again on return.
    m_strDestDir = GetDlgItemText(IDC_DEST_EDIT);
    if (IsPlausibleDestination(m_strDestDir.str())) {
        const CString caption = AfxLoadString(IDS_DEST_CAPTION);
        const std::string folder = TrimBlanks(m_strDestDir.str());
        CString text;
        switch (CheckDestination(folder)) {
        case kDestOrdinary: CWizardPage::OnNext(); return;
        case kDestSystemFolder:
            text.Format(IDS_DEST_SYSTEM_FOLDER, folder.c_str());
            MessageBox(text, caption, MB_OK | MB_ICONSTOP);
            break;
        case kDestDriveRoot:
            text.Format(IDS_DEST_DRIVE_ROOT, folder.c_str());
            if (MessageBox(text, caption, MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) == IDYES) {
                CWizardPage::OnNext();
                return;
            }
            break;
        }
    }
    HWND edit = GetDlgItem(IDC_DEST_EDIT);
    ::SetFocus(edit);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

DestinationKind CheckDestination(const std::string& dest) {
    return ClassifyDestination(dest, AfxSystemFolders());
}

// CFinishPage

CFinishPage::CFinishPage(CWnd* pParent) : CWizardPage(IDD_FINISH, pParent) {}

void CFinishPage::OnInitPage() {
    CheckDlgButton(IDC_README, BST_CHECKED);
}

void CFinishPage::OnNext() {
    if (IsDlgButtonChecked(IDC_README) == BST_CHECKED) {
        CString folder = m_strDestDir;
        folder.TrimRight();
        CString readme = CString(WithTrailingBackslash(folder.str())) + "readme.txt";
        if (_access(readme, 0) == 0)
            ::ShellExecuteA(NULL, "OPEN", readme, NULL, NULL, SW_SHOWMAXIMIZED);
    }
    EndDialog(kWizFinish);
}
