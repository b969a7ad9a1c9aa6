#include "test_support.h"

#include "common/install_log.h"
#include "uninstall/UninstallMessages.h"

JobRegistryGuards::JobRegistryGuards() {
    Add(HKEY_CURRENT_USER, "Software\\Autodesk");
    Add(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    Add(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
    Add(HKEY_CURRENT_USER, "Software\\QuilmTest");
}

// OwnerWindow

OwnerWindow::OwnerWindow()
    : m_window([this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
          result = 1;
          return Record(message, lParam);
      }) {
    m_wnd.m_hWnd = m_window.hwnd();
}

int OwnerWindow::Count(UINT message) const {
    int n = 0;
    for (const JobMessage& m : m_log) n += m.message == message;
    return n;
}

void OwnerWindow::Pump() {
    PumpMessages();
}

bool OwnerWindow::Record(UINT message, LPARAM lParam) {
    if (message < WM_UNINSTALL_PROGRESS || message > WM_UNINSTALL_FAILED) return false;
    JobMessage m{message, ::InSendMessage() != FALSE, std::string()};
    if (message == WM_UNINSTALL_PROGRESS && lParam) m.path = reinterpret_cast<const char*>(lParam);
    m_log.push_back(m);
    if (m_onMessage) m_onMessage(m);
    return true;
}

// TestJob

int TestJob::s_batchStarts = 0;
std::string TestJob::s_batchCommand;

TestJob::TestJob() {
    m_pfnStartBatch = &TestJob::RecordBatchStart;
    s_batchStarts = 0;
    s_batchCommand.clear();
}

TestJob::~TestJob() {
    Stop();
    WaitForEnd();
}

BOOL TestJob::RecordBatchStart(LPSTR commandLine, PROCESS_INFORMATION&) {
    ++s_batchStarts;
    s_batchCommand = commandLine;
    return FALSE;
}

void RunJob(CUninstallThread& job, OwnerWindow& owner) {
    ASSERT_TRUE(RunThreadToEnd(job, &owner.m_wnd)) << "the job's thread did not start";
}

std::string TakeBatch() {
    std::string text;
    if (!ReadBytes("\\DelUS.bat", text)) return kMissing;
    ::DeleteFileA("\\DelUS.bat");
    return text;
}

std::vector<std::string> Entries(const std::string& record, int kind) {
    std::vector<std::string> values;
    size_t pos = 0, start = 0, length = 0;
    while (FindEntry(record, kind, pos, start, length))
        values.push_back(record.substr(start, length));
    return values;
}

std::vector<std::string> Entries(const CUninstallThread& record, int kind) {
    return Entries(record.m_strRecord.str(), kind);
}

void UninstallTest::SetUp() {
    ASSERT_TRUE(CurrentDriveIsC()) << "the current drive must be C: of the prefix";
    m_guards.reset(new JobRegistryGuards);
    m_dir = MakeTempFolder("uninst");
    ASSERT_TRUE(FolderExists(m_dir));
}

void UninstallTest::TearDown() {
    if (!m_dir.empty()) RemoveTree(m_dir);
    if (CurrentDriveIsC()) ::DeleteFileA("\\DelUS.bat");
    m_guards.reset();
}
