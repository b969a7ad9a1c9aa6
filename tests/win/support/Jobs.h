// The install and uninstall jobs run from a test: the owner window they
// send and post to, the install job with its questions answered from a
// script, the uninstall job without its self-deleting batch, and the
// fixture of every test that runs the uninstall job.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/SetupMessages.h"
#include "uninstall/UninstallMessages.h"
#include "framework/AfxWin.h"
#include "setup/SetupThread.h"
#include "support/ProductNames.h"
#include "support/TestSupport.h"
#include "uninstall/UninstallThread.h"

namespace quilmtest {

// One message of a job to its owner window.
struct JobMessage {
    UINT message;
    bool sent;           // InSendMessage(): sent, not posted
    std::string source;  // WM_SETUP_PROGRESS: the medium's entry
    std::string path;    // WM_SETUP_PROGRESS: the destination; WM_UNINSTALL_PROGRESS: the file
};

// A hidden window of the test's thread that owns a job and records every
// WM_SETUP_* and WM_UNINSTALL_* message it receives, in order; onMessage
// runs inside the handler.
class OwnerWindow {
public:
    OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND hwnd() const { return m_window.hwnd(); }

    int Count(UINT message) const;
    std::vector<JobMessage> Of(UINT message) const;

    std::vector<JobMessage> log;
    std::function<void(const JobMessage&)> onMessage;

private:
    MessageWindow m_window;
};

// The install job with its prompts answered from answers instead of
// message boxes (every prompt is kept; one beyond the script fails the
// test and is answered Cancel or Abort) and its file errors noted.
// copyOnly leaves out the controls, the product keys and the shortcuts;
// realBoxes shows the real boxes instead.
class SetupJob : public CSetupThread {
public:
    struct Shown {
        std::string text;
        UINT type;
    };
    std::deque<int> answers;
    std::vector<Shown> prompts;
    std::vector<std::string> fileErrors;
    // Runs once each prompt is kept, before its answer is given.
    std::function<void()> onPrompt;
    bool copyOnly = false;
    bool realBoxes = false;

    void RegisterControls() override;
    void WriteProductKeys() override;
    BOOL CreateShortcuts() override;

protected:
    int Prompt(const CString& text, UINT type) override;
    void ReportFileError(const CFileException& error) override;
};

// Runs job from source to dest (both ending with "\") on its own thread
// with owner as its window, dispatching messages until it has ended.
void RunJob(CSetupThread& job, OwnerWindow& owner, const std::string& source,
            const std::string& dest);
// Runs a job to its end the same way, with its folders as they are set.
void RunJob(CWorkerThread& job, OwnerWindow& owner);

// Installs from source to dest with every step, as the copy page does,
// and expects no prompt on the way.
void Install(const std::string& source, const std::string& dest, OwnerWindow& owner);

// The record of an installation into dest: every line has a known prefix
// and ends with CR LF, and the last one names the record itself.
void ExpectWellFormedRecord(const std::string& dest);

// The nine package folders with one file each and a few root files, under
// root (which ends with "\").
void MakeSmallMedium(const std::string& root);

// Every test that runs the install job on a small medium: the medium in
// src, an empty dst, the job (copying only, prompts from its script) and
// its owner.
class SetupJobTest : public ::testing::Test {
protected:
    SetupJobTest() : src("src"), dst("dst") {
        MakeSmallMedium(src.path());
        job.copyOnly = true;
    }
    void Run() { RunJob(job, owner, src.path(), dst.path()); }
    int Done() const { return owner.Count(WM_SETUP_DONE); }
    int Failed() const { return owner.Count(WM_SETUP_FAILED); }
    std::vector<JobMessage> Progress() const { return owner.Of(WM_SETUP_PROGRESS); }

    TempDir src, dst;
    OwnerWindow owner;
    SetupJob job;
};

// The uninstall job with a batch starter that notes the start and never
// runs the batch (it would delete the test program).
class UninstallJob : public CUninstallThread {
public:
    UninstallJob();
    ~UninstallJob() override;
    static int s_batchStarts;
    static std::string s_batchCommand;
    // The command of every start since the last RemoveWrittenBatches.
    static std::vector<std::string> s_batchCommands;
    static BOOL RecordBatchStart(LPCSTR application, LPSTR commandLine, LPCSTR currentFolder,
                                 PROCESS_INFORMATION& process);
};

// The batch path inside a cmd command line ending with /c ""batch"";
// empty when there is none.
std::string BatchPathOf(const std::string& commandLine);
// Reads and deletes the batch the job wrote and started last, and its
// folder; kMissing when there is none.
std::string TakeBatch();
// Deletes every batch the jobs wrote but never ran, with its folder.
void RemoveWrittenBatches();

// The self-deleting batches' folders ("QuilmUninstall-*") in the
// temporary folder.
std::vector<std::string> BatchFolders();
// Whether a batch still lies in any of them (one that ran deletes itself).
bool AnyBatchLeft();
// Waits until no batch is left and path is gone, for at most timeoutMs;
// whether both happened.  Then removes the empty batch folders (Wine's cmd
// cannot remove the folder of the batch it runs).
bool WaitSelfDeleted(const std::string& path, DWORD timeoutMs = 60000);

// The values of the record's entries of one kind, in record order.
std::vector<std::string> Entries(const std::string& record, int kind);
std::vector<std::string> Entries(const CUninstallThread& record, int kind);

// Every test that runs the uninstall job: the current drive must be C:,
// the batches the jobs wrote are deleted afterwards, the registry places
// the job touches (the AutoCAD keys, the product keys, the Active Setup
// component and stamp, the tests' own) are put back afterwards,
// and an empty temporary folder is at hand in m_dir.
class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string m_dir;  // ends with "\"
    std::unique_ptr<KeyGuard> m_guards;
    bool m_hadActiveSetup = false;  // the component, removed again when new
};

}  // namespace quilmtest
