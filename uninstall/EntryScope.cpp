// Which of the record's entries the uninstaller acts on (see
// common/record_scope.h): the Win32 half, which finds the scope folders
// and looks at the disk for reparse points.
#include "UninstallThread.h"
#include "common/paths.h"
#include "common/shell_folders.h"
#include "framework/AfxRegistry.h"
#include "framework/AfxLog.h"
#include "framework/AfxRemove.h"
#include "framework/AfxSystemFolders.h"

namespace {

// A string value, read without creating the key; empty when missing.
std::string ReadValue(HKEY root, REGSAM view, const char* key, const char* name) {
    CRegKey open;
    std::string text;
    if (open.Open(root, key, KEY_QUERY_VALUE | view) == ERROR_SUCCESS) open.QueryValue(name, text);
    return TrimBlanks(text);
}

void AddFolder(std::vector<std::string>& folders, const std::string& folder) {
    if (!folder.empty()) folders.push_back(folder);
}

// The folder's long name where it exists (a record written through a
// short name such as "PROGRA~1" then still matches); else as it is.
std::string LongName(const std::string& path) {
    DWORD need = ::GetLongPathNameA(path.c_str(), NULL, 0);
    if (need == 0) return path;
    std::string name(need, '\0');
    DWORD got = ::GetLongPathNameA(path.c_str(), &name[0], need);
    if (got == 0 || got >= need) return path;
    name.resize(got);
    return name;
}

}  // namespace

RecordScope CUninstallThread::CurrentScope() const {
    RecordScope scope;
    std::string folder = LongName(m_strRecordFolder.str());
    if (GivesFileScope(folder, AfxSystemFolders())) scope.installDir = folder;
    for (const char* key : kShellFoldersKeys) {
        // All users' folders in both views, as the installer looks for them.
        const struct {
            HKEY root;
            REGSAM view;
            const ShellFolderValues& values;
        } stores[] = {{HKEY_CURRENT_USER, 0, kUserFolderValues},
                      {HKEY_LOCAL_MACHINE, kRegView32, kAllUsersFolderValues},
                      {HKEY_LOCAL_MACHINE, kRegView64, kAllUsersFolderValues}};
        for (const auto& store : stores) {
            AddFolder(scope.desktopDirs,
                      ReadValue(store.root, store.view, key, store.values.desktop));
            AddFolder(scope.programsDirs,
                      ReadValue(store.root, store.view, key, store.values.programs));
        }
    }
    return scope;
}

bool CUninstallThread::InScope(RecordKind kind, const std::string& value, std::string& path,
                               std::string& base) const {
    path = value;
    if (EntryInScope(m_scope, kind, path, base)) return true;
    // Written through a short name, an existing entry may still lie in
    // scope by its long name.
    path = LongName(value);
    return path != value && EntryInScope(m_scope, kind, path, base);
}

bool CUninstallThread::ActsOn(RecordKind kind, const std::string& value, std::string* scopeFolder) {
    std::string base, path;
    if (InScope(kind, value, path, base) && AfxNoReparsePointBelow(base, path)) {
        if (scopeFolder) *scopeFolder = base;
        return true;
    }
    Skip(kind, value);
    return false;
}

void CUninstallThread::Skip(RecordKind kind, const std::string& value) {
    m_skipped.push_back(kRecordPrefixes[kind] + value);
    AfxLog("skipped, not where an installation puts anything: %s", m_skipped.back().c_str());
}
