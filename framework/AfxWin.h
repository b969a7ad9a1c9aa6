// The least of an application framework that the programs need:
// application name, message boxes, a window wrapper and threads.
#pragma once

#include <windows.h>

#include "AfxString.h"

// The application's name: the executable's file name without extension
// ("Setup", "Uninstall").  Message boxes without a caption show it.
LPCSTR AfxGetAppName();

// A message box owned by owner (may be NULL) captioned with the
// application's name.
int AfxMessageBox(HWND owner, LPCSTR text, UINT type = MB_OK);

// A window wrapper that borrows its handle.
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    int MessageBox(LPCSTR text, LPCSTR caption = NULL, UINT type = MB_OK) const;

    HWND m_hWnd = NULL;
};

// A thread with its own message queue.  Derived classes override
// InitInstance / Run / ExitInstance.  The owner that sets m_bAutoDelete to
// FALSE owns the object and must not free it before the thread has ended
// (see WaitForEnd).
class CWinThread {
public:
    CWinThread();
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

    virtual BOOL InitInstance();
    // The message loop: runs until WM_QUIT, then returns ExitInstance().
    virtual int Run();
    virtual int ExitInstance();

    // Waits for the thread's end while dispatching this thread's messages,
    // so a worker that is blocked in SendMessage to one of our windows can
    // still finish.  Returns at once when no thread was started.
    void WaitForEnd();
    BOOL IsRunning() const;

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = NULL;
    DWORD m_nThreadID = 0;

private:
    static unsigned __stdcall ThreadEntry(void* param);
};

// Waits for handle while dispatching the calling thread's messages.
void WaitPumpingMessages(HANDLE handle);
