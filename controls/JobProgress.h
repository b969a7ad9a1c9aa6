// What a window that runs a job does with it: starts the job with the
// window as its owner, shows each of the job's steps on a progress bar and
// a text line of the window's template, and waits for the job's end
// (dispatching messages, so that the job's last sent messages still
// arrive) before the job may go.  The copy page and the uninstaller's
// dialog each keep one beside their job and their bar.
#pragma once

#include "controls/PercentProgressCtrl.h"
#include "framework/AfxWin.h"

class CJobProgress {
public:
    CJobProgress(CWorkerThread& job, CPercentProgressCtrl& bar) : m_job(job), m_bar(bar) {}
    // Never lets the job go while its thread runs.
    ~CJobProgress();
    CJobProgress(const CJobProgress&) = delete;
    CJobProgress& operator=(const CJobProgress&) = delete;

    // Binds the bar to control barId of window, remembers control lineId
    // (a static) as the text line, and makes window the job's owner.  The
    // window has both controls.
    void Bind(HWND window, int barId, int lineId);
    // The bar counts steps from 0 to steps, one per Step.
    void SetSteps(int steps);
    // From here on the bar counts back from full to 0 in steps, one per
    // Step: the job undoes what it did.
    void CountDown(int steps);
    // Starts the job; FALSE when it was started before or could not be.
    BOOL Start();
    // One step of the job: line on the text line, the bar one step on.
    // Only while the window it was bound to is there.
    // Both are stored at once, so whatever paints shows them; they are
    // invalidated at most every kPaintPeriod ms.
    void Step(LPCSTR line);
    static const UINT kPaintPeriod = 40;
    // Stops the job before its next step and waits for its end.
    void EndJob() { m_job.EndJob(); }

    bool IsStarted() const { return m_job.m_hThread.IsValid(); }

private:
    // The timer is set on the bound window with the object's address as
    // its id; it dies with the window, and the destructor kills it when
    // the window is still there.
    static void CALLBACK OnPaintTimer(HWND hWnd, UINT, UINT_PTR id, DWORD);

    CWorkerThread& m_job;
    CPercentProgressCtrl& m_bar;
    HWND m_hWnd = NULL;
    HWND m_hLine = NULL;
    bool m_bPaintDue = false;  // the timer is set
};
