// Helpers for the install-engine tests: temporary folders, small media,
// an owner window that records the job's messages, and a job whose
// prompts are answered from a script.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "setup/SetupThread.h"

// A fresh folder under the prefix's temp folder, removed on destruction.
class TempDir {
public:
    explicit TempDir(const char* tag);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }  // ends with "\"
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

void RemoveTree(const std::string& path);
void MakeDirs(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);
bool IsDir(const std::string& path);
DWORD Attributes(const std::string& path);
// True when the file's attributes are hidden and nothing else.  Wine
// reports the archive bit on every file whatever was set, so that bit is
// not looked at.
bool ExactlyHidden(const std::string& path);
// Opens path with no sharing, so that nobody else can write it.
HANDLE LockFile(const std::string& path);

// Lines of an LF-separated text, without their LF.
std::vector<std::string> Lines(const std::string& text);

// A window that records what the install job sends and posts to it.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    HWND hwnd() const { return m_hwnd; }
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
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hwnd = NULL;
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
