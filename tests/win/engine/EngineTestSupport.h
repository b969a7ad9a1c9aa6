// Helpers for the install-engine tests: an owner window that records the
// job's messages, jobs whose prompts are answered from a script, and a
// small medium.  Temporary folders, files and the rest come from the
// shared test support.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "setup/SetupThread.h"
#include "support/TestSupport.h"

using namespace quilmtest;

// A window that records what the install job sends and posts to it.
class OwnerWindow {
public:
    OwnerWindow();
    HWND hwnd() const { return m_window.hwnd(); }
    CWnd* wnd() { return &m_wnd; }

    struct Progress {
        std::string source, dest;
    };
    std::vector<Progress> progress;
    int configuring = 0, done = 0, failed = 0;
    // Called on every progress message (on the owner's thread).
    void (*onProgress)(OwnerWindow&, void*) = nullptr;
    void* context = nullptr;

private:
    bool Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    MessageWindow m_window;
    CWnd m_wnd;
};

// A job that copies and writes its record but leaves the registry, the
// controls and the shortcuts alone (those steps have tests of their own).
class CopyOnlyJob : public CSetupThread {
public:
    void RegisterControls() override {}
    void WriteProductKeys() override {}
    BOOL CreateShortcuts() override { return TRUE; }
};

// A job whose prompts are answered from a queue; every prompt is kept.
class ScriptedJob : public CopyOnlyJob {
public:
    std::deque<int> answers;
    struct Shown {
        std::string text;
        UINT type;
    };
    std::vector<Shown> prompts;
    std::vector<std::string> fileErrors;

protected:
    int Prompt(const CString& text, UINT type) override;
    void ReportFileError(const CFileException& error) override;
};

// Sets the job's folders, starts it and waits for its end while
// dispatching messages; then takes the posted final message.
void RunJob(CSetupThread& job, OwnerWindow& owner, const std::string& source,
            const std::string& dest);

// The nine package folders and a few root files, each folder with one
// file, under root (which ends with "\").
void MakeSmallMedium(const std::string& root);
