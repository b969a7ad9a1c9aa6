#include "Jobs.h"

#include <cstring>

#include "common/install_log.h"
#include "support/MediumBuilder.h"
#include "support/ProductNames.h"
#include "setup/SetupMessages.h"
#include "uninstall/UninstallMessages.h"

namespace quilmtest {

OwnerWindow::OwnerWindow()
    : m_window([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
          bool setup = message >= WM_SETUP_PROGRESS && message <= WM_SETUP_UNDO_STEP;
          bool uninstall = message >= WM_UNINSTALL_PROGRESS && message <= WM_UNINSTALL_FAILED;
          if (!setup && !uninstall) return false;
          JobMessage m{message, ::InSendMessage() != FALSE, std::string(), std::string()};
          if (message == WM_SETUP_PROGRESS && wParam)
              m.source = reinterpret_cast<const char*>(wParam);
          if ((message == WM_SETUP_PROGRESS || message == WM_SETUP_UNDO_STEP ||
               message == WM_UNINSTALL_PROGRESS) &&
              lParam)
              m.path = reinterpret_cast<const char*>(lParam);
          log.push_back(m);
          if (onMessage) onMessage(m);
          result = 1;
          return true;
      }) {}

int OwnerWindow::Count(UINT message) const {
    return static_cast<int>(Of(message).size());
}

std::vector<JobMessage> OwnerWindow::Of(UINT message) const {
    std::vector<JobMessage> found;
    for (const JobMessage& m : log)
        if (m.message == message) found.push_back(m);
    return found;
}

void SetupJob::RegisterControls() {
    if (!copyOnly) CSetupThread::RegisterControls();
}

void SetupJob::WriteProductKeys() {
    if (!copyOnly) CSetupThread::WriteProductKeys();
}

BOOL SetupJob::CreateShortcuts() {
    return copyOnly || CSetupThread::CreateShortcuts();
}

int SetupJob::Prompt(const CString& text, UINT type) {
    if (realBoxes) return CSetupThread::Prompt(text, type);
    prompts.push_back({text.str(), type});
    if (onPrompt) onPrompt();
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << text.str();
        return (type & MB_TYPEMASK) == MB_RETRYCANCEL ? IDCANCEL : IDABORT;
    }
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

void SetupJob::ReportFileError(const CFileException& error) {
    if (realBoxes) return CSetupThread::ReportFileError(error);
    fileErrors.push_back(error.GetErrorMessage().str());
}

void RunJob(CSetupThread& job, OwnerWindow& owner, const std::string& source,
            const std::string& dest) {
    job.m_strSourceDir = source.c_str();
    job.m_strDestDir = dest.c_str();
    RunJob(job, owner);
}

void RunJob(CWorkerThread& job, OwnerWindow& owner) {
    ASSERT_TRUE(job.Start(owner.hwnd())) << "the job's thread did not start";
    job.WaitForEnd();
    // The final message is posted: take it from the queue.
    PumpMessages();
}

void Install(const std::string& source, const std::string& dest, OwnerWindow& owner) {
    SetupJob job;
    RunJob(job, owner, source, dest);
    EXPECT_TRUE(job.prompts.empty())
        << job.prompts.size() << " prompts, the first: " << job.prompts[0].text;
}

void ExpectWellFormedRecord(const std::string& dest) {
    std::string bytes = ReadBytes(dest + "Uninstall.log");
    ASSERT_FALSE(bytes.empty()) << dest << "Uninstall.log";
    for (size_t pos = 0; pos < bytes.size();) {
        size_t end = bytes.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "unterminated line at " << pos;
        std::string line = bytes.substr(pos, end - pos);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "a line without its CR: " << line;
        bool known = false;
        for (const char* prefix : kRecordLinePrefixes)
            known |= line.compare(0, std::strlen(prefix), prefix) == 0;
        EXPECT_TRUE(known) << line;
        pos = end + 2;
    }
    std::string last = "File Copy: " + dest + "Uninstall.log\r\n";
    ASSERT_GE(bytes.size(), last.size());
    EXPECT_EQ(bytes.substr(bytes.size() - last.size()), last);
}

void MakeSmallMedium(const std::string& root) {
    MediumBuilder medium(root);
    for (const char* folder : kPackageFolders) {
        EXPECT_TRUE(medium.File(std::string(folder) + "\\" + folder + ".dat",
                                std::string("content of ") + folder));
    }
    EXPECT_TRUE(medium.File("Quilm.exe", "program"));
    EXPECT_TRUE(medium.File("readme.txt", "说明\r\n"));
    EXPECT_TRUE(medium.File("Setup.exe", "installer"));
}

int UninstallJob::s_batchStarts = 0;
std::string UninstallJob::s_batchCommand;
std::vector<std::string> UninstallJob::s_batchCommands;

UninstallJob::UninstallJob() {
    m_pfnStartBatch = &UninstallJob::RecordBatchStart;
    s_batchStarts = 0;
    s_batchCommand.clear();
}

UninstallJob::~UninstallJob() {
    Stop();
    WaitForEnd();
}

BOOL UninstallJob::RecordBatchStart(LPCSTR, LPSTR commandLine, LPCSTR, PROCESS_INFORMATION&) {
    ++s_batchStarts;
    s_batchCommand = commandLine;
    s_batchCommands.push_back(commandLine);
    return FALSE;
}

std::string BatchPathOf(const std::string& commandLine) {
    const std::string open = " /c \"\"";
    size_t start = commandLine.find(open);
    if (start == std::string::npos || commandLine.size() < start + open.size() + 2) return "";
    start += open.size();
    return commandLine.substr(start, commandLine.size() - 2 - start);
}

std::string TakeBatch() {
    std::string text;
    const std::string batch = BatchPathOf(UninstallJob::s_batchCommand);
    if (batch.empty() || !ReadBytes(batch, text)) return kMissing;
    ::DeleteFileA(batch.c_str());
    ::RemoveDirectoryA(batch.substr(0, batch.rfind('\\')).c_str());
    return text;
}

void RemoveWrittenBatches() {
    for (const std::string& command : UninstallJob::s_batchCommands) {
        const std::string batch = BatchPathOf(command);
        if (batch.empty()) continue;
        ::DeleteFileA(batch.c_str());
        ::RemoveDirectoryA(batch.substr(0, batch.rfind('\\')).c_str());
    }
    UninstallJob::s_batchCommands.clear();
}

std::vector<std::string> BatchFolders() {
    const std::string temp = TempRoot();
    std::vector<std::string> found;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((temp + "QuilmUninstall-*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    // The uninstaller's logs share the name's start.
    do
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            found.push_back(temp + data.cFileName);
    while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return found;
}

bool AnyBatchLeft() {
    for (const std::string& folder : BatchFolders())
        if (FileExists(folder + "\\DelUS.bat")) return true;
    return false;
}

bool WaitSelfDeleted(const std::string& path, DWORD timeoutMs) {
    const bool done = WaitUntil([&] { return !Exists(path) && !AnyBatchLeft(); }, timeoutMs);
    for (const std::string& folder : BatchFolders()) ::RemoveDirectoryA(folder.c_str());
    return done;
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
    m_guards.reset(new KeyGuard);
    m_guards->Guard(HKEY_CURRENT_USER, "Software\\Autodesk");
    m_guards->Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    m_guards->Guard(kMachine64, "SOFTWARE\\Autodesk");
    m_guards->Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
    m_guards->Guard(HKEY_CURRENT_USER, "Software\\QuilmTest");
    m_guards->Guard(HKEY_CURRENT_USER, kActiveSetupStamp);
    m_hadActiveSetup = GetValue64(kActiveSetupKey, nullptr) != kMissing;
    m_dir = MakeTempFolder("uninst");
    ASSERT_TRUE(FolderExists(m_dir));
}

void UninstallTest::TearDown() {
    if (!m_dir.empty()) RemoveTree(m_dir);
    RemoveWrittenBatches();
    // The folders of batches that ran and ended.
    for (const std::string& folder : BatchFolders()) ::RemoveDirectoryA(folder.c_str());
    m_guards.reset();
    if (!m_hadActiveSetup) RemoveKeyTree64(kActiveSetupKey);
}

}  // namespace quilmtest
