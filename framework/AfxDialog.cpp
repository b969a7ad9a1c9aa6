#include "AfxDialog.h"

#include "AfxGdi.h"

#include <commctrl.h>
#include <ole2.h>

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

// CWinApp

CWinApp::CWinApp() {
    g_pApp = this;
    m_hInstance = ::GetModuleHandleA(NULL);
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::ExitInstance() {
    if (m_bOleInitialized) {
        ::OleUninitialize();
        m_bOleInitialized = FALSE;
    }
    return m_nExitCode;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(NULL);
}

void AfxInitCommonControls() {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&classes);
}

BOOL AfxOleInit() {
    if (g_pApp && !g_pApp->m_bOleInitialized)
        g_pApp->m_bOleInitialized = SUCCEEDED(::OleInitialize(NULL));
    return g_pApp && g_pApp->m_bOleInitialized;
}

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine ? lpCmdLine : "";
    app->m_hThread.Close();
    app->m_nThreadID = ::GetCurrentThreadId();
    int code;
    try {
        const BOOL looping = app->InitInstance();
        AFXASSERT(!looping);  // the application has no message loop of its own
        code = app->ExitInstance();
    } catch (...) {
        code = -1;
    }
    return code;
}

// CDialog

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    AFXASSERT(!m_hWnd);
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    INT_PTR result = ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                       owner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = NULL;
    return result;
}

INT_PTR CDialog::RunModeless(bool show) {
    AFXASSERT(!m_hWnd);
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    m_bModeless = true;
    m_bEnded = false;
    m_nResult = -1;
    HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hWnd) {
        m_bModeless = false;
        return -1;
    }
    if (show) ::ShowWindow(hWnd, SW_SHOW);
    MSG msg = {};
    while (!m_bEnded && ::GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (::IsDialogMessageA(hWnd, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (!m_bEnded && msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
    if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
    m_hWnd = NULL;
    m_bModeless = false;
    return m_nResult;
}

void CDialog::EndDialog(INT_PTR nResult) {
    AFXASSERT(::IsWindow(m_hWnd));
    if (!m_bModeless) {
        ::EndDialog(m_hWnd, nResult);
        return;
    }
    m_nResult = nResult;
    m_bEnded = true;
    // Called while a sent message is handled, GetMessage would go on
    // waiting for a posted one: give it one.
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                lResult = 0;
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
                lResult = 0;
                return TRUE;
            }
        }
        return FALSE;
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return ReflectToControl(message, wParam, lParam, lResult);
    }
    return FALSE;
}

BOOL CDialog::ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    HWND control = NULL;
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlType != ODT_MENU) control = item->hwndItem;
    } else {
        control = reinterpret_cast<HWND>(lParam);
    }
    if (!control || ::GetParent(control) != m_hWnd) return FALSE;
    // A control that does not know the reflected message answers 0 through
    // its default procedure, and the dialog then paints it the usual way.
    LRESULT r = ::SendMessageA(control, WM_REFLECT_BASE + message, wParam, lParam);
    if (r == 0) return FALSE;
    lResult = r;
    return TRUE;
}

HICON CDialog::SetIcon(HICON icon, BOOL bigIcon) const {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CDialog::SetIcons(HICON icon) {
    SetIcon(icon, TRUE);
    SetIcon(icon, FALSE);
}

void CDialog::CenterWindow() const {
    AFXASSERT(::IsWindow(m_hWnd));
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    RECT area;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int width = self.right - self.left, height = self.bottom - self.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    // Keep the whole dialog on the screen.
    RECT screen;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    if (x + width > screen.right) x = screen.right - width;
    if (y + height > screen.bottom) y = screen.bottom - height;
    if (x < screen.left) x = screen.left;
    if (y < screen.top) y = screen.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        AFXASSERT(dialog != nullptr);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        dialog->m_hWnd = hWnd;
        try {
            return dialog->OnInitDialog();
        } catch (...) {
            dialog->EndDialog(-1);
            return FALSE;
        }
    }
    dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!dialog) return FALSE;
    LRESULT lResult = 0;
    BOOL handled = FALSE;
    try {
        handled = dialog->OnMessage(message, wParam, lParam, lResult);
    } catch (...) {
        handled = FALSE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        dialog->m_hWnd = NULL;
    }
    if (!handled) return FALSE;
    switch (message) {
    // These return their result directly from the dialog procedure.
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON: return static_cast<INT_PTR>(lResult);
    }
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
