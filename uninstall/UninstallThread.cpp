#include "UninstallThread.h"

#include <vector>

#include "common/install_log.h"
#include "common/mbcs.h"
#include "common/paths.h"
#include "framework/AfxDllSearch.h"
#include "framework/AfxHandle.h"
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
        return TRUE;
    } catch (const CFileException& error) {
        error.ReportError(OwnerWindow());
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
    CString installDir = InstallFolder();
    if (IsStopped()) return;
    RemoveDataSource(installDir);
    if (IsStopped()) return;
    UnregisterControls();
    if (IsStopped()) return;
    DeleteRecordedFiles();
    if (IsStopped()) return;
    SendToOwner(WM_UNINSTALL_FILES_DONE);
    if (IsStopped()) return;
    RemoveRecordedDirs();
    if (IsStopped()) return;
    DeleteRecordedKeys();
    if (IsStopped()) return;
    RemoveHostProfiles();
    if (IsStopped()) return;
    SelfDelete();
    SendToOwner(WM_UNINSTALL_DONE);
}

CString CUninstallThread::InstallFolder() {
    // Opens the key with create semantics; RemoveHostProfiles deletes it.
    CString folder;
    GetMachineString(kUninstallProductKey, "installPath", folder);
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
    if (!configure) return FALSE;
    return configure(NULL, kOdbcRemoveSysDsn, kDataSourceDriver, attributes.c_str());
}

BOOL CUninstallThread::UnregisterControl(LPCSTR path) {
    return AfxRegisterServer(path, false) == S_OK;
}

void CUninstallThread::UnregisterControls() {
    size_t pos = 0, start = 0, length = 0;
    while (!IsStopped() && FindEntry(kRegCtrl, pos, start, length)) {
        CString path(m_strRecord.str().substr(start, length));
        // A library outside the install folder is never loaded.
        if (!ActsOn(kRegCtrl, path.str())) continue;
        UnregisterControl(path);
        ::DeleteFileA(path);
    }
}

void CUninstallThread::DeleteRecordedFiles() {
    size_t pos = 0, start = 0, length = 0;
    while (!IsStopped() && FindEntry(kFileCopy, pos, start, length)) {
        CString path(m_strRecord.str().substr(start, length));
        if (ActsOn(kFileCopy, path.str())) ::DeleteFileA(path);
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
    for (auto it = dirs.rbegin(); it != dirs.rend() && !IsStopped(); ++it)
        if (ActsOn(kMadeDir, *it)) ::RemoveDirectoryA(it->c_str());
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
            m_skipped.push_back(kRecordPrefixes[kRegDbKey] + value);
            continue;
        }
        // One deletion per recorded key: a recorded key that has gained
        // subkeys stays, rather than taking a tree we did not create.
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    }
}

BOOL DeleteKeyTree(HKEY root, const CString& path) {
    CRegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return FALSE;
    std::vector<std::string> names;
    char name[512];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof(name);
        LONG r = ::RegEnumKeyExA(key, index, name, &size, NULL, NULL, NULL, NULL);
        if (r == ERROR_MORE_DATA) continue;  // longer than any key name can be
        if (r != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    key.Close();
    for (const std::string& sub : names) DeleteKeyTree(root, path + "\\" + sub.c_str());
    return ::RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}
