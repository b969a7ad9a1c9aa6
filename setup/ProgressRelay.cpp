#include "ProgressRelay.h"

void CProgressRelay::Post(UINT message, LPCSTR source, LPCSTR dest) {
    AFXASSERT(!IsStopped());  // nothing is sent after Close
    if (!m_hThread.IsValid() && !m_bStartFailed && !Start()) m_bStartFailed = true;
    if (m_bStartFailed) {
        SendToOwner(message, reinterpret_cast<WPARAM>(source), reinterpret_cast<LPARAM>(dest));
        return;
    }
    ::AcquireSRWLockExclusive(&m_lock);
    while (m_bFull) ::SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
    m_nMessage = message;
    m_strSource = source;
    m_strDest = dest;
    m_bFull = true;
    ::ReleaseSRWLockExclusive(&m_lock);
    ::WakeAllConditionVariable(&m_changed);
}

void CProgressRelay::Wait() {
    if (!m_hThread.IsValid()) return;
    ::AcquireSRWLockExclusive(&m_lock);
    while (m_bFull) ::SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CProgressRelay::Close() {
    if (!m_hThread.IsValid()) return;
    // Set under the lock: the thread tests the flag under it before it
    // sleeps, so it either sees the flag or is asleep for the wake-up.
    ::AcquireSRWLockExclusive(&m_lock);
    Stop();
    ::ReleaseSRWLockExclusive(&m_lock);
    ::WakeAllConditionVariable(&m_changed);
    // The thread sends what it holds before it ends.
    WaitForEnd();
}

void CProgressRelay::Work() {
    ::AcquireSRWLockExclusive(&m_lock);
    for (;;) {
        while (!m_bFull && !IsStopped())
            ::SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
        if (!m_bFull) break;
        ::ReleaseSRWLockExclusive(&m_lock);
        SendToOwner(m_nMessage, reinterpret_cast<WPARAM>(static_cast<LPCSTR>(m_strSource)),
                    reinterpret_cast<LPARAM>(static_cast<LPCSTR>(m_strDest)));
        ::AcquireSRWLockExclusive(&m_lock);
        m_bFull = false;
        ::WakeAllConditionVariable(&m_changed);
    }
    ::ReleaseSRWLockExclusive(&m_lock);
}
