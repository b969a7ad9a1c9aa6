// The application object and modal dialogs of the framework.
//
// CWinApp: one global object per program; WinMain (through AfxWinMain)
// runs its InitInstance, which shows the program's windows with loops of
// their own and returns FALSE, and ends with ExitInstance's value.
//
// CDialog: a modal dialog made from a dialog template.  One static dialog
// procedure stores the object at WM_INITDIALOG and forwards every message
// to the virtual OnMessage, inside try/catch so that no exception crosses
// into the system.  Derived dialogs list the messages they handle in a
// message table:
//
//     BEGIN_MSG_TABLE(CMyPage, CDialog)
//         ON_COMMAND(1001, OnNext)
//         ON_MESSAGE(WM_TIMER, OnTimer)
//     END_MSG_TABLE()
//
// and every message not in the table goes to the base class's table.
#pragma once

#include <windows.h>

#include "AfxWin.h"

class CWinApp : public CWinThread {
public:
    CWinApp();
    ~CWinApp() override;

    // Ends OLE where AfxOleInit started it; returns m_nExitCode.
    int ExitInstance() override;

    HINSTANCE m_hInstance = NULL;
    LPCSTR m_lpCmdLine = "";  // the arguments, without the program's name
    int m_nExitCode = 0;      // the program's exit code
    BOOL m_bOleInitialized = FALSE;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// Registers the common control classes the dialogs use (progress bars
// and the standard controls).
void AfxInitCommonControls();
// Makes OLE objects (pictures, the shell's dialogs) usable on the
// user-interface thread, until the application's ExitInstance.
BOOL AfxOleInit();
// WinMain's body: initialises the application object and runs it.  The
// framework's WinMain (AfxWinMain.cpp) restricts the library search first.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Shows the dialog modally and returns the value given to EndDialog
    // (-1 when the dialog could not be created).  An object shows one
    // window at a time.
    virtual INT_PTR DoModal();
    // Runs the dialog modeless, shown or not, dispatching this thread's
    // messages until EndDialog; returns the value given to it (-1 when the
    // dialog could not be created).  Not shown, the dialog never becomes
    // visible: its template must not have WS_VISIBLE.
    INT_PTR RunModeless(bool show);
    void EndDialog(INT_PTR nResult);

    // Default handlers: OnInitDialog returns TRUE (focus to the first
    // control); OnOK ends with IDOK, OnCancel with IDCANCEL.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // The message table.  Returns TRUE when the message was handled, with
    // its result in lResult; FALSE leaves it to the system's default.
    virtual BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    // Operations on the dialog and its controls, while it has its window.
    HWND GetDlgItem(int nID) const {
        AFXASSERT(::IsWindow(m_hWnd));
        return ::GetDlgItem(m_hWnd, nID);
    }
    CString GetDlgItemText(int nID) const { return AfxGetWindowText(GetDlgItem(nID)); }
    void SetDlgItemText(int nID, LPCSTR text) const {
        AFXASSERT(::IsWindow(m_hWnd));
        ::SetDlgItemTextA(m_hWnd, nID, text);
    }
    UINT IsDlgButtonChecked(int nID) const {
        AFXASSERT(::IsWindow(m_hWnd));
        return ::IsDlgButtonChecked(m_hWnd, nID);
    }
    void CheckDlgButton(int nID, UINT check) const {
        AFXASSERT(::IsWindow(m_hWnd));
        ::CheckDlgButton(m_hWnd, nID, check);
    }
    void EnableDlgItem(int nID, BOOL enable) const { ::EnableWindow(GetDlgItem(nID), enable); }
    void ShowDlgItem(int nID, int nCmdShow) const { ::ShowWindow(GetDlgItem(nID), nCmdShow); }
    HICON SetIcon(HICON icon, BOOL bigIcon) const;
    // Centres the dialog over its owner (or the screen without one).
    void CenterWindow() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    // The dialog's big and small icon at once.
    void SetIcons(HICON icon);

    // Reflects owner-draw requests to the control that asked, so a custom
    // control paints itself (see the controls' WindowProc).
    BOOL ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

private:
    bool m_bModeless = false;
    bool m_bEnded = false;
    INT_PTR m_nResult = 0;

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// Message table macros.  Handlers: ON_MESSAGE -> LRESULT f(WPARAM, LPARAM);
// ON_COMMAND -> void f() for a button click or menu/accelerator command.
#define BEGIN_MSG_TABLE(theClass, baseClass)                                                \
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override { \
        typedef baseClass TableBase;

#define ON_MESSAGE(msg, func)                \
    if (message == static_cast<UINT>(msg)) { \
        lResult = func(wParam, lParam);      \
        return TRUE;                         \
    }

#define ON_COMMAND(id, func)                                                \
    if (message == WM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id) && \
        (HIWORD(wParam) == BN_CLICKED || lParam == 0)) {                    \
        func();                                                             \
        lResult = 0;                                                        \
        return TRUE;                                                        \
    }

#define END_MSG_TABLE()                                            \
    return TableBase::OnMessage(message, wParam, lParam, lResult); \
    }

// Reflected owner-draw and colour messages, as a control receives them
// from its dialog (same numbers as the system's OCM_ messages).
enum : UINT {
    WM_REFLECT_BASE = 0x2000,
    WM_REFLECT_DRAWITEM = 0x2000 + WM_DRAWITEM,
    WM_REFLECT_CTLCOLORSTATIC = 0x2000 + WM_CTLCOLORSTATIC,
    WM_REFLECT_CTLCOLORBTN = 0x2000 + WM_CTLCOLORBTN
};
