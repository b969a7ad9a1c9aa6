// Helpers for the uninstall tests: temporary folders on C: of the prefix,
// files, registry snapshots that put keys back as they were, and an owner
// window that records the job's messages.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/AfxWin.h"
#include "uninstall/UninstallThread.h"

// A host path (/work/...) as Wine shows it to the program (Z:\work\...).
std::string HostToWine(const std::string& hostPath);

// True when the current directory is on drive C:.  "\DelUS.bat" lands in
// the root of the current drive, and Z: is the host's root folder.
bool CurrentDriveIsC();

// A new empty folder below the temporary folder, ending with "\".
std::string MakeTempFolder(const std::string& tag);
void RemoveTree(const std::string& path);  // folder and everything in it

bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);    // a file, not a folder
bool FolderExists(const std::string& path);
bool MakeFolders(const std::string& path);   // with missing parents

bool KeyExists(HKEY root, const std::string& path);
bool SetValue(HKEY root, const std::string& path, const char* name, const std::string& text);
// The text of a value, or "<missing>".
std::string GetValue(HKEY root, const std::string& path, const char* name);
std::string Hex(const std::string& bytes);

// Takes a snapshot of a key's whole tree (keys and values) and restores
// it when destroyed: keys made since are deleted, changed or deleted
// values and keys are put back, and a key that did not exist is removed.
class RegistryGuard {
public:
    RegistryGuard(HKEY root, const std::string& path);
    ~RegistryGuard();
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;

private:
    struct Value {
        DWORD type;
        std::string data;
    };
    typedef std::map<std::string, Value> Values;
    void Capture(const std::string& relative);
    void RemoveExtra(const std::string& relative);
    std::string Full(const std::string& relative) const;

    HKEY m_root;
    std::string m_path;
    bool m_existed;
    std::map<std::string, Values> m_keys;  // relative path ("" = the key) -> values
};

// The registry places the job reads and leaves behind (AutoCAD release
// keys probed with create semantics, the product key, test markers).
class JobRegistryGuards {
public:
    JobRegistryGuards();
    void Add(HKEY root, const std::string& path);

private:
    std::vector<std::unique_ptr<RegistryGuard>> m_guards;
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
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    int Count(UINT message) const;
    void Pump();  // dispatches what is queued (posted messages)

    CWnd m_wnd;
    std::vector<JobMessage> m_log;
    std::function<void(const JobMessage&)> m_onMessage;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
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

// Reads and deletes the batch the job wrote to "\DelUS.bat"; "<missing>"
// when there is none.
std::string TakeBatch();

// The full path of this test program.
std::string OwnProgramPath();

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
