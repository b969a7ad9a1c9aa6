#include "JobSupport.h"

#include "TestSupport.h"

namespace quilmtest {

bool RunThreadToEnd(CWinThread& job, CWnd* owner) {
    job.m_pMainWnd = owner;
    job.m_bAutoDelete = FALSE;
    if (!job.CreateThread(0, 0, NULL)) return false;
    job.WaitForEnd();
    // The final message is posted: take it from the queue.
    PumpMessages();
    return true;
}

}  // namespace quilmtest
