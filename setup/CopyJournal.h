// CCopyJournal: what the install job's copy phase changed on the disk, so
// that a stopped run can put it back.  It lists the folders and files the
// run made, and the earlier files it overwrote, each moved first into a
// backup folder the run makes inside the install folder (on the same
// volume, so a move is a rename; only SYSTEM and Administrators may open
// it).  Kept in memory until the copy phase ends: Commit once it has gone
// through, Undo when it stopped.
//
// Deletions go through the checked removal (framework/AfxRemove), below the
// outermost folder the run made above the install folder, or the install
// folder itself; what a running program holds goes at the next restart
// (framework/AfxReplace).  No window code: the job shows the undo's steps.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CCopyJournal {
public:
    // Starts the journal of the install folder dest (ending with "\"); made:
    // the folders the run made already, outermost first (the install folder,
    // the folders above it and its "Temp", when the run made them).
    void Begin(const std::string& dest, const std::vector<std::string>& made);
    bool IsActive() const { return m_bActive; }

    // A folder, or a file that was not there before, made by the run.
    void FolderMade(const std::string& path);
    void FileMade(const std::string& path);
    // Before path, an earlier file, is overwritten: moves it into the backup
    // folder (copies it there when it cannot be moved).  ERROR_SUCCESS when
    // path is free now; ERROR_ALREADY_EXISTS when a copy of it is kept and
    // it is still there; otherwise the system's error: it is not kept, and
    // the journal knows nothing of it.
    DWORD Backup(const std::string& path);
    // The copy onto the file backed up last failed: the earlier file goes
    // back now.
    void PutBackLast();

    // The copy phase went through: the backup folder goes.  The earlier
    // files that a running program holds go at the restart; they are added
    // to atRestart.
    void Commit(std::vector<std::string>& atRestart);

    // What Undo did.
    struct Undone {
        int filesDeleted = 0, filesPutBack = 0, foldersRemoved = 0;
        // Files and folders that could not be deleted or put back (and are
        // not left for the restart); not the folders that stay only
        // because they hold one of these.
        std::vector<std::string> left;
    };
    // The number of Undo's steps: one per file and folder in the journal.
    int Steps() const;
    // Undoes the copy phase, newest first: the files made are deleted, the
    // earlier files move back, the folders made are removed.  step is called
    // with each path as it is done.  What only the restart can do (a file
    // held by a running program) is recorded for it and added to atRestart.
    Undone Undo(const std::function<void(const std::string&)>& step,
                std::vector<std::string>& atRestart);

private:
    // The backup of m_overwritten[index], and the folder that holds it.
    std::string BackupPath(size_t index) const;
    std::string BackupFolder(size_t index) const;
    // Puts the earlier file of m_overwritten[index] back; the outcome is
    // counted into undone, or the restart completes it.
    void PutBack(size_t index, Undone& undone, std::vector<std::string>& atRestart);
    // Ends the journal: the backup folder goes, now or at the restart.
    void RemoveBackupFolder();
    void Clear();

    bool m_bActive = false;
    std::string m_dest;          // the install folder, ending with "\"
    std::string m_base;          // the folder every deletion stays inside
    std::string m_backup;        // the backup folder once made, else empty
    size_t m_backupFolders = 0;  // the numbered folders made in it
    std::vector<std::string> m_madeFolders;
    std::vector<std::string> m_madeFiles;
    // The earlier files: each one's backup is BackupPath(its index).
    std::vector<std::string> m_overwritten;
};
