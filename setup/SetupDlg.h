// CSetupDlg: the backdrop.  It covers the screen with a slideshow of the
// pictures in the medium's folder "安装界面" and, from its initialisation,
// runs the wizard's pages one after another as modal dialogs over itself.
#pragma once

#include <windows.h>

#include <string>

#include "../common/command_line.h"
#include "../framework/AfxDialog.h"
#include "WizardFlow.h"

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(CWnd* pParent = nullptr);
    ~CSetupDlg() override;

    enum { kSlideTimer = 374 };

    // The data carried between the pages.
    WizardData m_data;
    // The destination the wizard offers first, ending with "\"; the
    // product's usual folder unless set.
    std::string m_strDefaultDir;
    // How the run went, as the program's exit code; set when the wizard
    // has ended.
    int m_nExitCode = kExitCancelled;

    // Where the product goes unless told otherwise.
    static const char kDefaultDestDir[];
    // The destination to offer: dir when given (/DIR), else the folder of
    // an earlier installation whose record is still there, else the usual
    // folder.
    static std::string DefaultDestination(const std::string& dir);
    UINT m_nSlidePeriod = 5000;
    int m_nSlideIndex = 0;
    CStringArray m_slideFiles;

    // Lists folder\pattern's plain files (full paths) in enumeration order.
    // folder ends with "\".
    static void BuildSlideList(const CString& folder, LPCSTR pattern, CStringArray& files);
    // A 1024 x 768 canvas with the picture fitted and centred on it, or
    // NULL when the file is not a picture that can be loaded.
    static HBITMAP LoadSlide(HDC hdc, const CString& path);
    // Whether the product's key holds "installPath".
    static BOOL IsInstalled();

    BEGIN_MSG_TABLE(CSetupDlg, CDialog)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    END_MSG_TABLE()

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM);
    LRESULT OnTimer(WPARAM wParam, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    BOOL AskQuit() const;
};
