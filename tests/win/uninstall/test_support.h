// Helpers for the uninstall tests: the registry places the job touches,
// an owner window that records the job's messages, a job that never starts
// its batch, and the fixture of every job test.  Temporary folders,
// files, registry values and key guards come from the shared test support.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/AfxWin.h"
#include "support/JobSupport.h"
#include "support/TestSupport.h"
#include "uninstall/UninstallThread.h"

using namespace quilmtest;

// The registry places the job reads and leaves behind (AutoCAD release
// keys probed with create semantics, the product key, test markers), put
// back as they were when this is destroyed; Add guards one more key.
class JobRegistryGuards : public KeyGuard {
public:
    JobRegistryGuards();
    void Add(HKEY root, const std::string& path) { Guard(root, path); }
};

struct JobMessage {
    UINT message;
    bool sent;         // InSendMessage(): sent, not posted
    std::string path;  // WM_UNINSTALL_PROGRESS only
};

// A hidden top-level window that receives the job's messages on the
// test's thread and records them; onMessage runs inside the handler.
class OwnerWindow {
public:
    OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    int Count(UINT message) const;
    void Pump();  // dispatches what is queued (posted messages)

    CWnd m_wnd;
    std::vector<JobMessage> m_log;
    std::function<void(const JobMessage&)> m_onMessage;

private:
    bool Record(UINT message, LPARAM lParam);
    MessageWindow m_window;
};

// The job with a batch starter that records the start and never runs it.
class TestJob : public CUninstallThread {
public:
    TestJob();
    ~TestJob() override;
    static int s_batchStarts;
    static std::string s_batchCommand;

private:
    static BOOL RecordBatchStart(LPSTR commandLine, PROCESS_INFORMATION& process);
};

// Starts job with owner as its window and waits, dispatching messages,
// until it has ended.
void RunJob(CUninstallThread& job, OwnerWindow& owner);

// Reads and deletes the batch the job wrote to "\DelUS.bat"; kMissing
// when there is none.
std::string TakeBatch();

// The values of the record's entries of one kind, in record order.
std::vector<std::string> Entries(const std::string& record, int kind);
std::vector<std::string> Entries(const CUninstallThread& record, int kind);

#include <gtest/gtest.h>

// Every job test: the current drive must be C: before anything (the job
// writes "\DelUS.bat"), the registry places the job touches are put back
// afterwards, and a temporary folder is at hand in m_dir.
class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string m_dir;  // ends with "\"
    std::unique_ptr<JobRegistryGuards> m_guards;
};
