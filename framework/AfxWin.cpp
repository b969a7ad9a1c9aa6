#include "AfxWin.h"

#include <process.h>

#include <string>

#include "../common/mbcs.h"
#include "AfxModule.h"

LPCSTR AfxGetAppName() {
    static std::string name = [] {
        const std::string full = AfxGetModulePath();
        size_t sep = LastSeparatorOffset(full);
        std::string file = sep == std::string::npos ? full : full.substr(sep + 1);
        size_t dot = file.rfind('.');
        if (dot != std::string::npos && dot > 0) file.erase(dot);
        return file;
    }();
    return name.c_str();
}

int AfxMessageBox(HWND owner, LPCSTR text, UINT type) {
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

CString AfxGetWindowText(HWND hWnd) {
    int length = hWnd ? ::GetWindowTextLengthA(hWnd) : 0;
    if (length <= 0) return CString();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = ::GetWindowTextA(hWnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return CString(text);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) const {
    return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

// Subclassing.  The object is found from its window through a window
// property, which leaves GWLP_USERDATA and DWLP_USER to the window's owner.
static const char kCWndProp[] = "AfxWndObject";

CWnd::~CWnd() {
    if (m_pfnSuper) UnsubclassWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    return static_cast<CWnd*>(::GetPropA(hWnd, kCWndProp));
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    // Taking a second window would leave the first one calling into an
    // object that no longer knows it; two objects on one window would
    // each see the other's messages.
    AFXASSERT(!m_pfnSuper);
    AFXASSERT(!FromHandlePermanent(hWnd));
    if (!hWnd || !::IsWindow(hWnd) || m_pfnSuper || FromHandlePermanent(hWnd)) return FALSE;
    m_hWnd = hWnd;
    PreSubclassWindow();
    if (!::SetPropA(hWnd, kCWndProp, static_cast<HANDLE>(this))) return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    if (!m_pfnSuper) {
        ::RemovePropA(hWnd, kCWndProp);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, HWND hParent) {
    return SubclassWindow(::GetDlgItem(hParent, static_cast<int>(nID)));
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    return pParent ? SubclassDlgItem(nID, pParent->m_hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (!m_pfnSuper) return NULL;
    if (::IsWindow(hWnd)) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::RemovePropA(hWnd, kCWndProp);
    }
    m_pfnSuper = nullptr;
    m_hWnd = NULL;
    return hWnd;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd || !wnd->m_pfnSuper) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC super = wnd->m_pfnSuper;
        wnd->UnsubclassWindow();
        return ::CallWindowProcA(super, hWnd, message, wParam, lParam);
    }
    const MSG saved = wnd->m_currentMsg;
    wnd->m_currentMsg.hwnd = hWnd;
    wnd->m_currentMsg.message = message;
    wnd->m_currentMsg.wParam = wParam;
    wnd->m_currentMsg.lParam = lParam;
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // No exception may cross into the system's code.
        result = wnd->DefWindowProc(message, wParam, lParam);
    }
    // The object may have let go of the window while handling the message.
    if (FromHandlePermanent(hWnd) == wnd) wnd->m_currentMsg = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    AFXASSERT(m_currentMsg.hwnd != NULL);
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd) {
    DWORD style = GetStyle();  // asserts the window
    DWORD changed = (style & ~dwRemove) | dwAdd;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    return TRUE;
}

CWinThread::CWinThread() = default;

CWinThread::~CWinThread() = default;

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (m_hThread) return FALSE;  // a thread object runs once
    unsigned id = 0;
    uintptr_t handle = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                      dwCreateFlags, &id);
    if (handle == 0) return FALSE;
    m_hThread.Attach(reinterpret_cast<HANDLE>(handle));
    m_nThreadID = id;
    return TRUE;
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return 0;
}

unsigned __stdcall CWinThread::ThreadEntry(void* param) {
    CWinThread* thread = static_cast<CWinThread*>(param);
    // Give the thread its message queue before anyone posts to it.
    MSG msg;
    ::PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_NOREMOVE);
    int code = 0;
    try {
        const BOOL looping = thread->InitInstance();
        AFXASSERT(!looping);  // the thread has no message loop to run
        code = thread->ExitInstance();
    } catch (...) {
        code = -1;
    }
    return static_cast<unsigned>(code);
}

BOOL CWinThread::IsRunning() const {
    return m_hThread && ::WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

void CWinThread::WaitForEnd() {
    if (!m_hThread) return;
    AFXASSERT(::GetCurrentThreadId() != m_nThreadID);
    WaitPumpingMessages(m_hThread);
}

BOOL CWorkerThread::Start() {
    AFXASSERT(!m_hThread);
    return m_hThread ? FALSE : CreateThread();
}

void CWorkerThread::EndJob() {
    if (!m_hThread || ::GetCurrentThreadId() == m_nThreadID) return;
    Stop();
    WaitForEnd();
}

void WaitPumpingMessages(HANDLE handle) {
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        DWORD r = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1) break;  // signalled, or the wait failed
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Keep the quit for the caller's own loop once we are done.
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
}
