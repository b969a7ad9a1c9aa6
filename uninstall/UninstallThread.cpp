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
    GetMachineString(v9::kProductKey, kInstallPathValue, folder);
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

namespace {

// Deletes a file, logs the outcome; false when the file may still exist.
bool DeleteLogged(LPCSTR path) {
    if (::DeleteFileA(path)) {
        AfxLog("deleted: %s", path);
        return true;
    }
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        AfxLog("not there: %s", path);
        return true;
    }
    AfxLog("not deleted: %s: %s", path, AfxErrorText(error).c_str());
    return false;
}

}  // namespace

void CUninstallThread::UnregisterControls() {
    size_t pos = 0, start = 0, length = 0;
    while (!IsStopped() && FindEntry(kRegCtrl, pos, start, length)) {
        CString path(m_strRecord.str().substr(start, length));
        // A library outside the install folder is never loaded.
        if (!ActsOn(kRegCtrl, path.str())) continue;
        UnregisterControl(path);
        if (!DeleteLogged(path)) m_filesLeft.push_back(path.str());
    }
}

void CUninstallThread::DeleteRecordedFiles() {
    size_t pos = 0, start = 0, length = 0;
    while (!IsStopped() && FindEntry(kFileCopy, pos, start, length)) {
        CString path(m_strRecord.str().substr(start, length));
        if (ActsOn(kFileCopy, path.str()) && !DeleteLogged(path)) m_filesLeft.push_back(path.str());
        // A skipped entry still moves the bar: its range counts every entry.
        SendToOwner(WM_UNINSTALL_PROGRESS, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(path)));
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
        if (!ActsOn(kMadeDir, *it)) continue;
        if (::RemoveDirectoryA(it->c_str())) AfxLog("folder removed: %s", it->c_str());
        else AfxLog("folder kept: %s: %s", it->c_str(), AfxErrorText(::GetLastError()).c_str());
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
        // subkeys stays, rather than taking a tree we did not create.
        LONG result = CRegKey::DeleteKey(HKEY_LOCAL_MACHINE, keyPath.c_str());
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
        if (key.Open(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS)
            m_failures.push_back("HKEY_LOCAL_MACHINE\\" + keyPath);
    }
    for (const std::string& item : m_failures) AfxLog("left behind: %s", item.c_str());
}
