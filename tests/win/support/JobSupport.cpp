#include "JobSupport.h"

#include "TestSupport.h"

namespace quilmtest {

bool RunThreadToEnd(CWorkerThread& job, CWnd* owner) {
    if (!job.Start(owner ? owner->m_hWnd : NULL)) return false;
    job.WaitForEnd();
    // The final message is posted: take it from the queue.
    PumpMessages();
    return true;
}

}  // namespace quilmtest
