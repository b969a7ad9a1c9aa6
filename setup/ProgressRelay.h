// CProgressRelay: sends the install job's progress messages from a thread
// of its own, one at a time and in order, so that the job copies the next
// entry while its owner takes the message of the previous one.  Under
// Wine each sent message costs several server round trips and two thread
// wake-ups, about as much as copying a small file.
//
// Only the job's thread calls Post, Wait and Close.  A message is handed
// over only after the previous one was taken, and Wait returns once the
// message in flight was taken, so a prompt or a stop check after Wait sees
// the page exactly as it was after the last entry.
//
// The relay's own stop flag (the worker's) means "closing": its thread
// sends the message it holds and then ends.  It is not the install job's
// stop request, which the job checks after Wait.
#pragma once

#include <windows.h>

#include "../framework/AfxWin.h"

class CProgressRelay : public CWorkerThread {
public:
    CProgressRelay() = default;
    // Never lets the object go while its thread runs.
    ~CProgressRelay() override { Close(); }

    // Sends message (wParam source, lParam dest) to the owner on the
    // relay's thread, started on first use, once the previous message was
    // taken.  Sends directly when no thread can be started.
    void Post(UINT message, LPCSTR source, LPCSTR dest);
    // Returns once the message in flight, if any, was taken.
    void Wait();
    // Wait, then ends the relay's thread.
    void Close();

protected:
    void Work() override;

private:
    // Close is the relay's way to stop: the flag must be set under the
    // lock and the thread woken, or the thread may sleep on.
    using CWorkerThread::EndJob;
    using CWorkerThread::Stop;

    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_changed = CONDITION_VARIABLE_INIT;
    // The message in flight; the job writes it only while m_bFull is false.
    UINT m_nMessage = 0;
    CString m_strSource;
    CString m_strDest;
    bool m_bFull = false;
    bool m_bStartFailed = false;
};
