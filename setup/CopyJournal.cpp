#include "CopyJournal.h"

#include <cstdio>

#include "../common/mbcs.h"
#include "../common/record_scope.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxRemove.h"
#include "../framework/AfxReplace.h"
#include "../framework/AfxSecurity.h"

namespace {

// SYSTEM and Administrators only, nothing inherited from the install
// folder, which ordinary users may be able to change.
const char* const kBackupFolderDacl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
const char* const kBackupFolderName = "Backup.~";
// The backups go into numbered folders of this many files each: making a
// name that is not there yet costs a look through its folder (under Wine
// a scan of the whole folder, for a name in another case).
const size_t kBackupsPerFolder = 100;

bool IsGone(DWORD error) {
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

void CCopyJournal::Clear() {
    m_bActive = false;
    m_backup.clear();
    m_backupFolders = 0;
    m_madeFolders.clear();
    m_madeFiles.clear();
    m_overwritten.clear();
}

void CCopyJournal::Begin(const std::string& dest, const std::vector<std::string>& made) {
    Clear();
    m_bActive = true;
    m_dest = dest;
    m_madeFolders = made;
}

void CCopyJournal::FolderMade(const std::string& path) {
    if (m_bActive) m_madeFolders.push_back(path);
}

void CCopyJournal::FileMade(const std::string& path) {
    if (m_bActive) m_madeFiles.push_back(path);
}

std::string CCopyJournal::BackupFolder(size_t index) const {
    return m_backup + "\\" + std::to_string(index / kBackupsPerFolder + 1);
}

std::string CCopyJournal::BackupPath(size_t index) const {
    return BackupFolder(index) + "\\" + std::to_string(index % kBackupsPerFolder + 1);
}

DWORD CCopyJournal::Backup(const std::string& path) {
    if (!m_bActive) return ERROR_INVALID_FUNCTION;
    if (m_backup.empty()) {
        CSecurityDescriptor descriptor = AfxDescriptorFromSddl(kBackupFolderDacl);
        if (!descriptor.IsValid()) return ::GetLastError();
        SECURITY_ATTRIBUTES security = {sizeof(security), descriptor, FALSE};
        // A name nothing has yet: the folder is this run's own.
        for (unsigned n = 1; m_backup.empty(); ++n) {
            char name[32];
            std::snprintf(name, sizeof(name), "%s%u", kBackupFolderName, n);
            const std::string folder = m_dest + name;
            if (::CreateDirectoryA(folder.c_str(), &security)) m_backup = folder;
            else if (::GetLastError() != ERROR_ALREADY_EXISTS || n == 9999) return ::GetLastError();
        }
        AfxLog("backup folder made, closed to ordinary users: %s", m_backup.c_str());
    }
    const size_t index = m_overwritten.size();
    if (index / kBackupsPerFolder == m_backupFolders) {
        if (!::CreateDirectoryA(BackupFolder(index).c_str(), NULL)) return ::GetLastError();
        ++m_backupFolders;
    }
    const std::string backup = BackupPath(index);
    DWORD kept = ERROR_SUCCESS;
    // A rename on the volume; where it cannot be (another volume mounted
    // on a folder, or the file held against it) a copy is kept instead.
    // The name is this run's own: replacing lets the move skip looking
    // whether something has it.
    if (!::MoveFileExA(path.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = ::GetLastError();
        if (!::CopyFileA(path.c_str(), backup.c_str(), TRUE)) return error;
        kept = ERROR_ALREADY_EXISTS;
    }
    m_overwritten.push_back(path);
    return kept;
}

void CCopyJournal::PutBackLast() {
    if (m_overwritten.empty()) return;
    const std::string backup = BackupPath(m_overwritten.size() - 1);
    if (::MoveFileExA(backup.c_str(), m_overwritten.back().c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        AfxLog("earlier file put back: %s", m_overwritten.back().c_str());
        m_overwritten.pop_back();
    }
}

void CCopyJournal::Commit(std::vector<std::string>& atRestart) {
    if (!m_backup.empty()) {
        CCheckedFolder folder;
        for (size_t i = 0; i < m_overwritten.size(); ++i) {
            const std::string backup = BackupPath(i), parent = BackupFolder(i);
            if (folder.Path() != parent) folder.Open(m_backup, parent);
            const DWORD error = folder.Remove(backup.substr(parent.size() + 1), false);
            if (IsGone(error)) continue;
            if (AfxIsInUse(error) &&
                AfxDeleteAtRestart(backup.c_str()) == ERROR_SUCCESS_REBOOT_REQUIRED) {
                AfxLog("in use: the earlier %s, kept as %s, is deleted at the restart",
                       m_overwritten[i].c_str(), backup.c_str());
                atRestart.push_back(m_overwritten[i]);
            } else {
                AfxLog("earlier file not deleted: %s: %s", backup.c_str(),
                       AfxErrorText(error).c_str());
            }
        }
        folder.Close();
        RemoveBackupFolder();
    }
    Clear();
}

void CCopyJournal::RemoveBackupFolder() {
    if (m_backup.empty()) return;
    // Its numbered folders first, then itself.  One that keeps what the
    // restart moves or deletes goes after them; one that keeps a file
    // not put back stays (so its removal at the restart fails).
    bool removed = true;
    for (size_t n = 0; n <= m_backupFolders; ++n) {
        const std::string folder =
            n < m_backupFolders ? BackupFolder(n * kBackupsPerFolder) : m_backup;
        if (::RemoveDirectoryA(folder.c_str())) continue;
        removed = false;
        const DWORD error = ::GetLastError();
        if (AfxDeleteAtRestart(folder.c_str()) == ERROR_SUCCESS_REBOOT_REQUIRED)
            AfxLog("backup folder removed at the restart: %s", folder.c_str());
        else AfxLog("backup folder kept: %s: %s", folder.c_str(), AfxErrorText(error).c_str());
    }
    if (removed) AfxLog("backup folder removed: %s", m_backup.c_str());
}

int CCopyJournal::Steps() const {
    return static_cast<int>(m_madeFiles.size() + m_overwritten.size() + m_madeFolders.size());
}

void CCopyJournal::PutBack(size_t index, Undone& undone, std::vector<std::string>& atRestart) {
    const std::string& target = m_overwritten[index];
    const std::string backup = BackupPath(index);
    const DWORD kMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED;
    // Only into the installation: no folder on the way swapped for a link.
    DWORD error = ERROR_CANT_ACCESS_FILE;
    if (AfxNoReparsePointBelow(m_base, target))
        error =
            ::MoveFileExA(backup.c_str(), target.c_str(), kMove) ? ERROR_SUCCESS : ::GetLastError();
    if (error == ERROR_SUCCESS) {
        ++undone.filesPutBack;
        AfxLog("undone: put back %s", target.c_str());
        return;
    }
    if (AfxIsInUse(error)) {
        // A program holds the new file: it moves aside, deleted at the
        // restart; held even against that, the restart replaces it.
        std::string aside;
        if (AfxMoveAside(target, aside) == ERROR_SUCCESS) {
            if (::MoveFileExA(backup.c_str(), target.c_str(), kMove)) {
                AfxDeleteAtRestart(aside.c_str());
                ++undone.filesPutBack;
                AfxLog("undone: put back %s; the new file, in use, is deleted at the restart: %s",
                       target.c_str(), aside.c_str());
                return;
            }
            ::MoveFileExA(aside.c_str(), target.c_str(), 0);
        }
        if (::MoveFileExA(backup.c_str(), target.c_str(),
                          MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
            atRestart.push_back(target);
            AfxLog("in use (%s): put back at the restart: %s", AfxErrorText(error).c_str(),
                   target.c_str());
            return;
        }
        error = ::GetLastError();
    }
    undone.left.push_back(target);
    AfxLog("not put back: %s (kept as %s): %s", target.c_str(), backup.c_str(),
           AfxErrorText(error).c_str());
}

CCopyJournal::Undone CCopyJournal::Undo(const std::function<void(const std::string&)>& step,
                                        std::vector<std::string>& atRestart) {
    Undone undone;
    // Every deletion stays inside the outermost folder the run made on the
    // way to the install folder, or inside the install folder.
    m_base = m_dest.substr(0, m_dest.size() - 1);
    for (const std::string& folder : m_madeFolders)
        if (IsInsideFolder(m_base, folder) && folder.size() < m_base.size()) m_base = folder;
    const auto later = [&](const std::string& path, DWORD error) {
        return AfxIsInUse(error) &&
               AfxDeleteAtRestart(path.c_str()) == ERROR_SUCCESS_REBOOT_REQUIRED;
    };

    // The files made, each through its folder's handle; a folder's files
    // are listed together.
    CCheckedFolder folder;
    for (auto it = m_madeFiles.rbegin(); it != m_madeFiles.rend(); ++it) {
        const std::string& path = *it;
        const size_t cut = LastSeparatorOffset(path);
        const std::string parent = path.substr(0, cut);
        if (folder.Path() != parent) folder.Open(m_base, parent);
        const DWORD error = folder.Remove(path.substr(cut + 1), false);
        if (error == ERROR_SUCCESS) {
            ++undone.filesDeleted;
            AfxLog("undone: deleted %s", path.c_str());
        } else if (later(path, error)) {
            atRestart.push_back(path);
            AfxLog("in use (%s): deleted at the restart: %s", AfxErrorText(error).c_str(),
                   path.c_str());
        } else if (!IsGone(error)) {
            undone.left.push_back(path);
            AfxLog("not deleted: %s: %s", path.c_str(), AfxErrorText(error).c_str());
        }
        step(path);
    }
    folder.Close();

    for (size_t i = m_overwritten.size(); i-- > 0;) {
        PutBack(i, undone, atRestart);
        step(m_overwritten[i]);
    }
    RemoveBackupFolder();

    // Inner folders were made after the folders around them.
    for (auto it = m_madeFolders.rbegin(); it != m_madeFolders.rend(); ++it) {
        const std::string& path = *it;
        DWORD error = ERROR_SUCCESS;
        if (path == m_base)
            error = ::RemoveDirectoryA(path.c_str()) ? ERROR_SUCCESS : ::GetLastError();
        else error = AfxRemoveBelow(m_base, path, true);
        const auto holds = [&](const std::vector<std::string>& items) {
            for (const std::string& item : items)
                if (IsInsideFolder(item, path)) return true;
            return false;
        };
        if (error == ERROR_SUCCESS) {
            ++undone.foldersRemoved;
            AfxLog("undone: folder removed %s", path.c_str());
        } else if (holds(atRestart) &&
                   AfxDeleteAtRestart(path.c_str()) == ERROR_SUCCESS_REBOOT_REQUIRED) {
            atRestart.push_back(path);
            AfxLog("folder removed at the restart: %s", path.c_str());
        } else if (!IsGone(error)) {
            // A folder that stays because of what stays inside it is no
            // item of its own.
            if (!holds(undone.left)) undone.left.push_back(path);
            AfxLog("folder kept: %s: %s", path.c_str(), AfxErrorText(error).c_str());
        }
        step(path);
    }
    Clear();
    return undone;
}
