// Helpers every Windows test program shares: temporary folders, whole
// files, folder trees, registry values and keys that are put back as they
// were, host paths as Wine shows them, and this thread's messages.
//
// Paths are 8-bit strings in the system code page (936 here).  Whatever
// splits or trims a path works on its wide form, so the trail byte of a
// double-byte character ("誠" is D5 5C) is never taken for a "\".
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quilmtest {

// What the string-returning readers give for a file or a value that is
// not there.
extern const char kMissing[];  // "<missing>"

// --- Paths -----------------------------------------------------------------

// A host path ("/work/...") as Wine shows it to a program ("Z:\work\...");
// any other path comes back unchanged.
std::string HostToWine(const std::string& hostPath);

// The prefix's temporary folder, ending with "\".
std::string TempRoot();
// The current directory, as GetCurrentDirectoryA gives it.
std::string CurrentDirectory();
// True when the current directory is on drive C:.  A file written to
// "\name" lands in the root of the current drive, and Z: is the host's
// root folder.
bool CurrentDriveIsC();
// The full path of this program.
std::string OwnProgramPath();
// The prefix's own shell folder (SHGetFolderPathA), ending with "\";
// empty when the shell has none.
std::string ShellFolder(int csidl);

// The wide form of path for the wide file functions: its full path with
// the "\\?\" prefix, so that paths longer than MAX_PATH work too.
std::wstring ExtendedPath(const std::string& path);

// --- Files and folders -----------------------------------------------------

bool Exists(const std::string& path);        // a file or a folder
bool FileExists(const std::string& path);    // a file, not a folder
bool FolderExists(const std::string& path);  // a folder
// Like Exists, for paths of any length.
bool ExistsAnyLength(const std::string& path);
DWORD Attributes(const std::string& path);  // INVALID_FILE_ATTRIBUTES when absent
// True when the file's attributes are hidden and nothing else.  Wine
// reports the archive bit on every file whatever was set, so that bit is
// not looked at.
bool ExactlyHidden(const std::string& path);

// Makes the folder and every missing parent; true when it exists after.
bool MakeFolders(const std::string& path);
// Deletes a folder with everything in it, read-only and hidden entries
// too, at any path length; a junction is removed, never followed.  A
// drive root or any path shorter than "C:\x" is refused.  True when
// nothing is left at path.
bool RemoveTree(const std::string& path);

// A symbolic link at link to the folder target, made on the host (under
// Wine, which cannot make junctions itself but shows a host link as a
// reparse point), and its removal (the link, never what it leads to).
// False where there is no host to ask, or for paths with blanks.
bool MakeHostLink(const std::string& link, const std::string& target);
bool RemoveHostLink(const std::string& link);
// A sparse file of size bytes at path, made on the host ("truncate"): it
// holds no data, so it may be larger than the volume.  Same limits.
bool MakeHostSparseFile(const std::string& path, ULONGLONG size);

// Writes bytes as the whole content of path; true when all were written.
bool WriteBytes(const std::string& path, const std::string& bytes);
// Reads a whole file into bytes; false when it cannot be opened or read.
bool ReadBytes(const std::string& path, std::string& bytes);
// The whole content of a file, empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// Opens path for reading and writing with no sharing, so that nobody else
// can open it while the handle lives.  INVALID_HANDLE_VALUE on failure.
HANDLE OpenWithoutSharing(const std::string& path);

// Names of the plain files of one folder, unsorted.
std::vector<std::string> FilesIn(const std::string& folder);
// Full paths of the plain files below folder, at any depth, unsorted.
std::vector<std::string> FilesBelow(const std::string& folder);
// Number of plain files below folder, at any depth.
int CountFilesBelow(const std::string& folder);
// Every file and folder below folder by full path: a file's attributes
// and bytes, a folder's attributes.
std::map<std::string, std::string> TreeBelow(const std::string& folder);

// A new empty folder "quilm-<tag>-<process>-<n>" below TempRoot(), ending
// with "\".
std::string MakeTempFolder(const std::string& tag);

// A MakeTempFolder folder removed with its content by the destructor.
class TempDir {
public:
    explicit TempDir(const std::string& tag = "tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }  // ends with "\"
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// --- Text ------------------------------------------------------------------

// Lines of an LF-separated text, without their LF (a CR stays).
std::vector<std::string> Lines(const std::string& text);
// Lines of a text with CR LF (or LF) line ends, without the line ends.
std::vector<std::string> CrLfLines(const std::string& text);
// Bytes as upper-case hex digits, two a byte.
std::string Hex(const std::string& bytes);

// --- Registry --------------------------------------------------------------
// A value name may be NULL or "" for the key's default value.  Each root
// names a view, the same from a 32-bit and a 64-bit test program:
// HKEY_LOCAL_MACHINE the 32-bit one (KEY_WOW64_32KEY), kMachine64 the
// 64-bit one, kMachineOwnView the test program's own (the ODBC installer's).
// No real root has these values; inline, so set before any test's table.
inline const HKEY kMachine64 = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x8000F064));
inline const HKEY kMachineOwnView = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x8000F000));

bool KeyExists(HKEY root, const std::string& key);
// Stores text as REG_SZ with its terminating zero, making the key path.
bool SetValue(HKEY root, const std::string& key, const char* name, const std::string& text);
// Reads a value of any length and type as text, up to its first zero
// byte; false (and text empty) when the key or the value is absent.
bool GetValue(HKEY root, const std::string& key, const char* name, std::string& text);
// The same, with kMissing for an absent value.
std::string GetValue(HKEY root, const std::string& key, const char* name);
// A REG_DWORD value; false when absent or of another type.
bool GetDword(HKEY root, const std::string& key, const char* name, DWORD& number);
bool ValueExists(HKEY root, const std::string& key, const char* name);
void DeleteValue(HKEY root, const std::string& key, const char* name);
// Deletes a key with everything below it.
void RemoveKeyTree(HKEY root, const std::string& key);

// Every key below key (key itself as "") and every value, as
// "subkey" -> "" and "subkey|name" -> type and data in hex: two trees are
// equal when nothing below them differs.  Empty when key is absent.
std::map<std::string, std::string> RegistryTree(HKEY root, const std::string& key);

// HKEY_LOCAL_MACHINE\SOFTWARE as 64-bit programs see it, whatever this
// program's bitness (KEY_WOW64_64KEY): a value as text with its type
// (false when absent), and the deletion of a key with its subkeys.
bool GetValue64(const std::string& key, const char* name, std::string& text, DWORD& type);
std::string GetValue64(const std::string& key, const char* name);
void RemoveKeyTree64(const std::string& key);

// Puts guarded keys back as they were when guarded, at destruction, the
// last guarded first: a key that did not exist is deleted with everything
// below it; one that existed gets back exactly its former subkeys and
// values (keys made since are deleted, values made since removed, changed
// and deleted ones written back).  Keys that stayed are not recreated.
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
    static void Restore(const Entry& entry);
    std::vector<Entry> m_entries;
};

// Puts one value back as it was (or removes it) at destruction.
class ValueGuard {
public:
    ValueGuard(HKEY root, const std::string& key, const char* name);
    ~ValueGuard();
    ValueGuard(const ValueGuard&) = delete;
    ValueGuard& operator=(const ValueGuard&) = delete;

private:
    HKEY m_root;
    std::string m_key, m_name;
    bool m_existed = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_data;
};

// A key the installer may open but not write to, the way a user without
// administrator rights meets the machine's keys: its access list grants
// reading, deleting and changing the access list, nothing else.  The key
// is made if need be, and deleted with everything below it at
// destruction.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const std::string& path);
    ~ReadOnlyKey();
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
    bool ok() const { return m_ok; }

private:
    HKEY m_root;
    std::string m_path;
    bool m_ok = false;
};

// A volatile key in place of path (deleted first, and again at
// destruction): the registry refuses to create a lasting key below it, so
// nothing can be created there at all.
class VolatileKey {
public:
    VolatileKey(HKEY root, const std::string& path);
    ~VolatileKey();
    VolatileKey(const VolatileKey&) = delete;
    VolatileKey& operator=(const VolatileKey&) = delete;
    bool ok() const { return m_ok; }

private:
    HKEY m_root;
    std::string m_path;
    bool m_ok = false;
};

// --- Waiting ---------------------------------------------------------------

// Polls done() every 20 ms until it comes true or timeoutMs have passed,
// and returns done(): the one way tests wait for a state.  The result must
// be asserted, so a state never reached fails the test.
template <typename F>
[[nodiscard]] bool WaitUntil(F done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeoutMs) return done();
        ::Sleep(20);
    }
    return true;
}

// --- Messages --------------------------------------------------------------

// Dispatches every message waiting for this thread.
void PumpMessages();
// Pumps until done() or until the attempts run out (messages from the
// window system may take a few rounds).  Returns done().
template <typename F>
bool PumpUntil(F done, int attempts = 200) {
    for (int i = 0; i < attempts && !done(); ++i) {
        PumpMessages();
        ::Sleep(10);
    }
    return done();
}

// A hidden top-level window of this thread that hands its messages to a
// handler: the owner window a job sends and posts its messages to.  The
// handler returns true when it took the message, with its result set.
class MessageWindow {
public:
    typedef std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>
        Handler;
    explicit MessageWindow(Handler handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND hwnd() const { return m_hwnd; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Handler m_handler;
    HWND m_hwnd = NULL;
};

}  // namespace quilmtest
