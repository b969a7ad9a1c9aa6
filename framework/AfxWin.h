// The least of an application framework that the programs need:
// application name, message boxes, a window wrapper and threads.
#pragma once

#include <windows.h>

#include <atomic>

#include "AfxDebug.h"
#include "AfxHandle.h"
#include "AfxString.h"

// The application's name: the executable's file name without extension
// ("Setup", "Uninstall").  Message boxes without a caption show it.
LPCSTR AfxGetAppName();

// A message box owned by owner (may be NULL) captioned with the
// application's name.
int AfxMessageBox(HWND owner, LPCSTR text, UINT type = MB_OK);

// The whole text of a window; empty for no window.
CString AfxGetWindowText(HWND hWnd);

// A window wrapper that borrows its handle.  The helpers below act on the
// window and need one (asserted in debug builds).
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        AFXASSERT(::IsWindow(m_hWnd));
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        AFXASSERT(::IsWindow(m_hWnd));  // a NULL window would post to the thread
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    int MessageBox(LPCSTR text, LPCSTR caption = NULL, UINT type = MB_OK) const;

    // Subclassing: the object takes over the window procedure of an
    // existing window (a control a dialog template created) and sees every
    // message in WindowProc first.  The window is released again when it
    // is destroyed or when the object is destroyed, whichever comes first.
    // FALSE without a window (a template without the control); an object
    // subclasses one window at a time, and a window has one object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    BOOL SubclassDlgItem(UINT nID, HWND hParent);
    HWND UnsubclassWindow();
    // The object subclassing hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Called just before the window procedure is replaced.
    virtual void PreSubclassWindow() {}
    // Every message of a subclassed window; the default passes it on.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's previous (standard) procedure.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, passed on to the previous procedure;
    // only while WindowProc handles one.
    LRESULT Default();

    // Window helpers.
    void Invalidate(BOOL bErase = TRUE) const {
        AFXASSERT(::IsWindow(m_hWnd));
        ::InvalidateRect(m_hWnd, NULL, bErase);  // a NULL window would repaint every window
    }
    void GetClientRect(LPRECT rect) const {
        AFXASSERT(::IsWindow(m_hWnd));
        ::GetClientRect(m_hWnd, rect);
    }
    void GetWindowRect(LPRECT rect) const {
        AFXASSERT(::IsWindow(m_hWnd));
        ::GetWindowRect(m_hWnd, rect);
    }
    DWORD GetStyle() const {
        AFXASSERT(::IsWindow(m_hWnd));
        return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd);
    void GetWindowText(CString& text) const {
        AFXASSERT(::IsWindow(m_hWnd));
        text = AfxGetWindowText(m_hWnd);
    }
    void SetWindowText(LPCSTR text) const {
        AFXASSERT(::IsWindow(m_hWnd));
        ::SetWindowTextA(m_hWnd, text);
    }
    int GetDlgCtrlID() const {
        AFXASSERT(::IsWindow(m_hWnd));
        return ::GetDlgCtrlID(m_hWnd);
    }

    HWND m_hWnd = NULL;
    WNDPROC m_pfnSuper = nullptr;  // previous procedure while subclassed

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    MSG m_currentMsg = {};
};

// A thread with its own message queue.  Derived classes override
// InitInstance, which does the thread's work, and ExitInstance, whose
// value is the thread's exit code.  There is no message loop of the
// thread's own: InitInstance returns FALSE.  The owner owns the object and
// must not free it before the thread has ended (see WaitForEnd).
class CWinThread {
public:
    CWinThread();
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Waits for the thread's end while dispatching this thread's messages,
    // so a worker that is blocked in SendMessage to one of our windows can
    // still finish.  Returns at once when no thread was started.  Never
    // from the thread itself, which would wait for ever.
    void WaitForEnd();
    BOOL IsRunning() const;

    CHandle m_hThread;
    DWORD m_nThreadID = 0;

private:
    static unsigned __stdcall ThreadEntry(void* param);
};

// A job that runs once on its own thread and reports to its owner window
// with SendMessage (and posts its last message).  It never touches a
// window except through messages.
//
// The owner keeps the object until the thread has ended: to end the job
// early it calls Stop() and then WaitForEnd().  A derived job whose
// members the work uses calls EndJob() in its own destructor, so that
// destroying a running job never leaves the thread on freed members.
class CWorkerThread : public CWinThread {
public:
    // The window the job reports to; set before the job starts (or by
    // Start).  A job without one reports to nobody.
    void SetOwner(HWND owner) { m_hOwner = owner; }
    // Starts the job.  A job object runs once: FALSE when it was started
    // before (a bug, asserted in debug builds) or the thread could not be
    // made.
    BOOL Start();
    BOOL Start(HWND owner) {
        SetOwner(owner);
        return Start();
    }

    // Asks the running job to stop before its next entry or step.  Any
    // thread may call it.
    void Stop() { m_bStop = true; }
    bool IsStopped() const { return m_bStop; }
    // Stop() and WaitForEnd(), from any thread but the job's own.
    void EndJob();

    HWND OwnerWindow() const { return m_hOwner; }

protected:
    // The whole job, on its own thread.
    virtual void Work() = 0;

    LRESULT SendToOwner(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hOwner, message, wParam, lParam);
    }
    void PostToOwner(UINT message) const { ::PostMessageA(m_hOwner, message, 0, 0); }

private:
    // The job ends with its work: no message loop of its own.
    BOOL InitInstance() final {
        Work();
        return FALSE;
    }

    HWND m_hOwner = NULL;
    std::atomic<bool> m_bStop{false};
};

// Waits for handle while dispatching the calling thread's messages.
void WaitPumpingMessages(HANDLE handle);
