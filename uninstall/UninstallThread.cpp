#include "UninstallThread.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "common/install_log.h"
#include "common/mbcs.h"
#include "common/paths.h"
#include "framework/AfxDllSearch.h"
#include "common/product_v8.h"
#include "framework/AfxLog.h"
#include "framework/AfxModule.h"
#include "framework/AfxRegistry.h"
#include "framework/AfxRemove.h"
#include "framework/AfxReplace.h"
#include "framework/AfxSecurity.h"
#include "common/record_scope.h"
#include "UninstallCore.h"

BOOL CUninstallThread::LoadRecord(LPCSTR path) {
    try {
        CStdioFile file;
        file.Open(path, CStdioFile::modeRead | CStdioFile::typeText);
        m_strRecord = file.ReadAll(file.GetLength());
        file.Close();
        std::string folder = path;
        size_t cut = LastSeparatorOffset(folder);
        m_strRecordFolder =
            cut == std::string::npos ? CString() : CString(folder.substr(0, cut + 1));
        AfxLog("record: %s, %d entries", path,
               CountEntries(kFileCopy) + CountEntries(kMadeDir) + CountEntries(kRegCtrl) +
                   CountEntries(kRegDbKey));
        return TRUE;
    } catch (const CFileException& error) {
        AfxLog("record not read: %s", static_cast<LPCSTR>(error.GetErrorMessage()));
        if (!m_bSilent) error.ReportError(OwnerWindow());
        PostToOwner(WM_UNINSTALL_FAILED);
        return FALSE;
    }
}

BOOL CUninstallThread::FindEntry(int kind, size_t& pos, size_t& start, size_t& length) const {
    return ::FindEntry(m_strRecord.str(), kind, pos, start, length);
}

int CUninstallThread::CountEntries(int kind) const {
    return ::CountEntries(m_strRecord.str(), kind);
}

void CUninstallThread::Work() {
    m_scope = CurrentScope();
    const CString installDir = InstallFolder();
    // A stop request ends the job before the next step.
    const std::function<void()> steps[] = {
        [&] { RemoveDataSource(installDir); },
        [&] { UnregisterControls(); },
        [&] { DeleteRecordedFiles(); },
        [&] { SendToOwner(WM_UNINSTALL_FILES_DONE); },
        [&] { RemoveRecordedDirs(); },
        [&] { DeleteRecordedKeys(); },
        [&] { RemoveHostProfiles(); },
        [&] { RegisterProfileRemoval(); },
        [&] {
            CollectFailures();
            SelfDelete();
            m_bFinished = true;
            SendToOwner(WM_UNINSTALL_DONE);
        },
    };
    for (const auto& step : steps) {
        if (IsStopped()) return;
        step();
    }
}

CString CUninstallThread::InstallFolder() {
    // Opens the key with create semantics; RemoveHostProfiles deletes it.
    CString folder;
    GetMachineString(kRegView32, v9::kProductKey, kInstallPathValue, folder);
    // Looks at the last character, not the last byte: a folder ending in a
    // double-byte character whose trail byte is 0x5C still gets its "\".
    return CString(WithTrailingBackslash(folder.str()));
}

namespace {

typedef BOOL(WINAPI* SqlConfigDataSourceFn)(HWND, WORD, LPCSTR, LPCSTR);

// SQLConfigDataSource of the system's ODBC installer library, bound at
// first use; the library stays loaded.
SqlConfigDataSourceFn BindSqlConfigDataSource() {
    static SqlConfigDataSourceFn fn = [] {
        HMODULE odbc = ::LoadLibraryA("odbccp32.dll");
        return odbc ? reinterpret_cast<SqlConfigDataSourceFn>(
                          reinterpret_cast<void*>(::GetProcAddress(odbc, "SQLConfigDataSource")))
                    : nullptr;
    }();
    return fn;
}

const WORD kOdbcRemoveSysDsn = 6;  // ODBC_REMOVE_SYS_DSN

}  // namespace

BOOL CUninstallThread::RemoveDataSource(const CString& installDir) {
    std::string attributes = DataSourceAttributes(installDir.str());
    SqlConfigDataSourceFn configure = BindSqlConfigDataSource();
    BOOL removed =
        configure && configure(NULL, kOdbcRemoveSysDsn, kDataSourceDriver, attributes.c_str());
    AfxLog("data source %s: %s", removed ? "removed" : "not removed (none, or no ODBC)",
           attributes.c_str());
    return removed;
}

BOOL CUninstallThread::UnregisterControl(LPCSTR path) {
    HRESULT result = AfxRegisterServer(path, false);
    AfxLog("control unregistered: %s: 0x%08lX", path, static_cast<unsigned long>(result));
    return result == S_OK;
}

bool CUninstallThread::Removed(const std::string& path, bool folder, DWORD error) {
    if (error == ERROR_SUCCESS) {
        AfxLog(folder ? "folder removed: %s" : "deleted: %s", path.c_str());
        return true;
    }
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        AfxLog(folder ? "folder not there: %s" : "not there: %s", path.c_str());
        return true;
    }
    AfxLog(folder ? "folder kept: %s: %s" : "not deleted: %s: %s", path.c_str(),
           AfxErrorText(error).c_str());
    return false;
}

bool CUninstallThread::Gone(const std::string& path, bool folder, DWORD error) {
    // What a running program holds goes at the next restart, and so does
    // a folder that keeps only such files (or that a program works in).
    // (Not this program, which its batch deletes, nor a folder recorded
    // as a file.)
    bool later = folder ? error == ERROR_SHARING_VIOLATION ||
                              (error == ERROR_DIR_NOT_EMPTY && HoldsDeletedAtRestart(path))
                        : AfxIsInUse(error) && CompareNoCase936(path, AfxGetModulePath()) != 0 &&
                              !(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    if (later) {
        const DWORD recorded = AfxDeleteAtRestart(path.c_str());
        later = recorded == ERROR_SUCCESS_REBOOT_REQUIRED;
        if (!later)
            AfxLog("not recorded for the restart: %s: %s", path.c_str(),
                   AfxErrorText(recorded).c_str());
    }
    if (!later) return Removed(path, folder, error);
    AfxLog("in use (%s): deleted at the restart: %s", AfxErrorText(error).c_str(), path.c_str());
    m_atRestart.push_back(path);
    return true;
}

bool CUninstallThread::HoldsDeletedAtRestart(const std::string& folder) const {
    for (const std::string& path : m_atRestart)
        if (IsInsideFolder(path, folder)) return true;
    return false;
}

bool CUninstallThread::RemoveBelow(const std::string& base, const std::string& path, bool folder) {
    return Removed(path, folder, AfxRemoveBelow(base, path, folder));
}

bool CUninstallThread::UsersCanChange(const std::string& base, const std::string& path) {
    if (AfxUsersCanWrite(base.c_str())) return true;
    for (const std::string& part : PathsBelow(base, path))
        if (AfxUsersCanWrite(part.c_str())) return true;
    return false;
}

void CUninstallThread::UnregisterControls() {
    size_t pos = 0, start = 0, length = 0;
    while (!IsStopped() && FindEntry(kRegCtrl, pos, start, length)) {
        CString path(m_strRecord.str().substr(start, length));
        // A library outside the install folder is never loaded.
        std::string base;
        if (!ActsOn(kRegCtrl, path.str(), &base)) continue;
        // Nor one that an ordinary user could have replaced.
        if (UsersCanChange(base, path.str()))
            AfxLog("control not unregistered, ordinary users can change it: %s",
                   static_cast<LPCSTR>(path));
        else UnregisterControl(path);
        if (!Gone(path.str(), false, AfxRemoveBelow(base, path.str(), false)))
            m_filesLeft.push_back(path.str());
    }
}

void CUninstallThread::DeleteRecordedFiles() {
    // The record lists a folder's files together: each folder is opened
    // and checked once, and its files are deleted through its handle.
    CCheckedFolder folder;
    size_t pos = 0, start = 0, length = 0;
    while (!IsStopped() && FindEntry(kFileCopy, pos, start, length)) {
        const std::string value = m_strRecord.str().substr(start, length);
        std::string path, base;
        const size_t cut =
            InScope(kFileCopy, value, path, base) ? LastSeparatorOffset(path) : std::string::npos;
        if (cut == std::string::npos) {
            Skip(kFileCopy, value);
        } else {
            const std::string parent = path.substr(0, cut), name = path.substr(cut + 1);
            if (folder.Path() != parent || folder.Base() != base) folder.Open(base, parent);
            DWORD error = folder.OpenError();
            // A reparse point on the way, or the entry itself one: passed over.
            if (error == ERROR_CANT_ACCESS_FILE && !AfxNoReparsePointBelow(base, path)) {
                Skip(kFileCopy, value);
            } else if (error == ERROR_SUCCESS && folder.IsReparsePoint(name)) {
                Skip(kFileCopy, value);
            } else {
                if (error == ERROR_SUCCESS) error = folder.Remove(name, false);
                // A name that is no text of the code page names nothing we made.
                if (error == ERROR_INVALID_NAME) Skip(kFileCopy, value);
                else if (!Gone(path, false, error)) m_filesLeft.push_back(value);
            }
        }
        // A skipped entry still moves the bar: its range counts every entry.
        SendToOwner(WM_UNINSTALL_PROGRESS, 0, reinterpret_cast<LPARAM>(value.c_str()));
    }
}

void CUninstallThread::RemoveRecordedDirs() {
    // Each folder's entry precedes those of the folders inside it, so
    // walking the list backwards tries inner folders first.
    std::vector<std::string> dirs;
    size_t pos = 0, start = 0, length = 0;
    while (FindEntry(kMadeDir, pos, start, length))
        dirs.push_back(m_strRecord.str().substr(start, length));
    for (auto it = dirs.rbegin(); it != dirs.rend() && !IsStopped(); ++it) {
        std::string base;
        if (ActsOn(kMadeDir, *it, &base)) Gone(*it, true, AfxRemoveBelow(base, *it, true));
    }
}

void CUninstallThread::DeleteRecordedKeys() {
    size_t pos = 0, start = 0, length = 0;
    while (!IsStopped() && FindEntry(kRegDbKey, pos, start, length)) {
        RecordRoot root = kRootOther;
        std::string keyPath;
        const std::string value = m_strRecord.str().substr(start, length);
        // An entry without a comma names no root, and an empty path would
        // name the root itself: both are skipped, like any key the
        // installer does not write.
        if (!SplitRegKeyValue(value, root, keyPath) || !KeyInScope(root, keyPath)) {
            Skip(kRegDbKey, value);
            continue;
        }
        // One deletion per recorded key: a recorded key that has gained
        // subkeys stays, rather than taking a tree we did not create.  The
        // installer writes its keys in the 32-bit view.
        LONG result = CRegKey::DeleteKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), kRegView32);
        if (result == ERROR_SUCCESS) AfxLog("key deleted: HKEY_LOCAL_MACHINE\\%s", keyPath.c_str());
        else
            AfxLog("key not deleted: HKEY_LOCAL_MACHINE\\%s: %s", keyPath.c_str(),
                   AfxErrorText(static_cast<DWORD>(result)).c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            m_keysLeft.push_back(keyPath);
    }
}

void CUninstallThread::CollectFailures() {
    const std::string self = AfxGetModulePath();
    for (const std::string& path : m_filesLeft) {
        DWORD attributes = ::GetFileAttributesA(path.c_str());
        // The Start-menu folder is recorded as a file; folders never count.
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (CompareNoCase936(path, self) == 0) continue;  // the batch removes it
        // A control is also recorded as a file: listed once.
        if (std::find(m_failures.begin(), m_failures.end(), path) != m_failures.end()) continue;
        m_failures.push_back(path);
    }
    for (const std::string& keyPath : m_keysLeft) {
        CRegKey key;
        if (key.Open(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_QUERY_VALUE | kRegView32) ==
            ERROR_SUCCESS)
            m_failures.push_back("HKEY_LOCAL_MACHINE\\" + keyPath);
    }
    for (const std::string& item : m_failures) AfxLog("left behind: %s", item.c_str());
}
