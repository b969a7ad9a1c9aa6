#include "AfxWin.h"

#include <process.h>

#include <string>

#include "../common/mbcs.h"

LPCSTR AfxGetAppName() {
    static std::string name = [] {
        char path[MAX_PATH * 2] = {0};
        DWORD n = ::GetModuleFileNameA(NULL, path, sizeof(path) - 1);
        std::string full(path, n);
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

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) const {
    return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

CWinThread::CWinThread() = default;

CWinThread::~CWinThread() {
    if (m_hThread) ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (m_hThread) return FALSE;  // a thread object runs once
    unsigned id = 0;
    uintptr_t handle = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry,
                                      this, dwCreateFlags, &id);
    if (handle == 0) return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    return TRUE;
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run() {
    MSG msg;
    while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinThread::ExitInstance() { return 0; }

unsigned __stdcall CWinThread::ThreadEntry(void* param) {
    CWinThread* thread = static_cast<CWinThread*>(param);
    // Give the thread its message queue before anyone posts to it.
    MSG msg;
    ::PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_NOREMOVE);
    int code = 0;
    try {
        code = thread->InitInstance() ? thread->Run() : thread->ExitInstance();
    } catch (...) {
        code = -1;
    }
    if (thread->m_bAutoDelete) delete thread;
    return static_cast<unsigned>(code);
}

BOOL CWinThread::IsRunning() const {
    return m_hThread && ::WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

void CWinThread::WaitForEnd() {
    if (m_hThread) WaitPumpingMessages(m_hThread);
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
