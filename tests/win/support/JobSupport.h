// Running a job (a CWorkerThread of the framework) to its end from a test.
#pragma once

#include "framework/AfxWin.h"

namespace quilmtest {

// Starts job on its own thread with owner as its main window, waits for
// its end while dispatching this thread's messages (so that it can send
// to owner), then dispatches what it posted last.  The job is not deleted
// at its end.  False when the thread could not be started.
bool RunThreadToEnd(CWorkerThread& job, CWnd* owner);

}  // namespace quilmtest
