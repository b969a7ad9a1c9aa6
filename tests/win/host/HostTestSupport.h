// Helpers of the host integration tests: temporary folders inside the Wine
// prefix, registry fixtures that are removed again, shortcut and record
// reading, and the test control library.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setup/SetupThread.h"

namespace hosttest {

// A fresh folder under the prefix's temp folder, removed with its content
// by the destructor.  path() ends with "\".
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

void RemoveTree(const std::string& path);
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);
std::string ReadWholeFile(const std::string& path);
// Plain files of a folder (names), unsorted.
std::vector<std::string> FilesIn(const std::string& folder);

// The test control library as a Windows path (Z:\... under Wine).
std::string TestControlPath();
bool CopyTestControl(const std::string& to);

// Registry
bool KeyExists(HKEY root, const std::string& key);
bool SetString(HKEY root, const std::string& key, const std::string& value,
               const std::string& text);
// Reads a string value of any length; false when absent.
bool ReadString(HKEY root, const std::string& key, const std::string& value, std::string& text);
bool ValueExists(HKEY root, const std::string& key, const std::string& value);
void DeleteTree(HKEY root, const std::string& key);
void DeleteValue(HKEY root, const std::string& key, const std::string& value);

// Puts guarded keys back as they were at destruction: a key that did not
// exist is deleted with everything below it, one that existed gets back
// exactly its former subkeys and values.
class KeyGuard {
public:
    KeyGuard() = default;
    ~KeyGuard();
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    void Guard(HKEY root, const std::string& key);

    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Node {
        std::string path;  // relative to the guarded key ("" for itself)
        std::vector<Value> values;
    };

private:
    struct Entry {
        HKEY root;
        std::string key;
        bool existed;
        std::vector<Node> nodes;  // parents before children
    };
    std::vector<Entry> m_entries;
};

// Puts a value back as it was (or removes it) at destruction.
class ValueGuard {
public:
    ValueGuard(HKEY root, const std::string& key, const std::string& value);
    ~ValueGuard();
    ValueGuard(const ValueGuard&) = delete;
    ValueGuard& operator=(const ValueGuard&) = delete;

private:
    HKEY m_root;
    std::string m_key, m_value;
    bool m_existed = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_data;
};

// Guards the AutoCAD keys that detection and profile setup create or that
// the tests write: HKCU and HKLM "SOFTWARE\Autodesk", which are then
// cleared, so that each test starts on a machine without AutoCAD.
void GuardAutoCadKeys(KeyGuard& guard);

// Registry fixtures standing in for an installed AutoCAD.
void SetCurVer(HKEY root, const char* releaseKey, const std::string& productKey);
void SetAcadValue(const char* releaseKey, const std::string& productKey, const char* value,
                  const std::string& text);
void SetBaseProfile(const char* releaseKey, const std::string& productKey,
                    const std::string& profile, const std::string& acadList);
std::string ProfileKey(const char* releaseKey, const std::string& productKey,
                       const std::string& profile);

const HostRelease& Release(const char* releaseKey);

// The prefix's own shell folder (SHGetFolderPathA), ending with "\".
std::string ShellFolder(int csidl);

// Record lines (without line ends) of an in-memory record.
std::vector<std::string> RecordLines(const std::string& record);
// Lines of Uninstall.log, CR LF line ends removed.
std::vector<std::string> RecordFileLines(const std::string& path);

// A shortcut read back through the shell's link object.
struct LinkInfo {
    std::string target, arguments, icon, workDir;
    int iconIndex = -1;
};
bool ReadLink(const std::string& path, LinkInfo& info);

// The install job with prompts answered by the test (Cancel unless told
// otherwise) instead of message boxes.
class TestJob : public CSetupThread {
public:
    int m_nPrompts = 0;
    int m_nAnswer = IDCANCEL;

protected:
    int Prompt(const CString&, UINT) override {
        ++m_nPrompts;
        return m_nAnswer;
    }
};

// What the owner window of a job received.
struct OwnerCounts {
    int progress = 0;
    int done = 0;
    int failed = 0;
};

// Runs a job from source to dest on its own thread, as the copy page does,
// with a window of this thread as owner, and waits for its end.  Returns
// the number of prompts the job asked (each answered with Cancel).
int RunInstallJob(const std::string& source, const std::string& dest, OwnerCounts& counts);

}  // namespace hosttest
