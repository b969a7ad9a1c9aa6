// CUninstallThread: the uninstall job.  The owner (the uninstaller's
// dialog) loads Uninstall.log into it and starts it; on its own thread it
// removes the ODBC data source, unregisters and deletes the controls,
// deletes the recorded files, folders and registry keys, removes the
// package's AutoCAD profiles and stages the uninstaller's own deletion.
//
// Messages to the owner window (UninstallMessages.h): WM_UNINSTALL_PROGRESS
// once per "File Copy: " entry (lParam the path, valid during the call),
// WM_UNINSTALL_FILES_DONE, WM_UNINSTALL_DONE, all sent;
// WM_UNINSTALL_FAILED posted by LoadRecord.  A stop request ends the job
// before its next entry or step, without further messages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "common/record_scope.h"

#include "framework/AfxFile.h"
#include "framework/AfxWin.h"
#include "uninstall/UninstallCore.h"
#include "uninstall/UninstallMessages.h"

class CUninstallThread : public CWorkerThread {
public:
    CUninstallThread() = default;
    ~CUninstallThread() override { EndJob(); }

    // The whole record, LF line ends; set before the thread starts.
    CString m_strRecord;
    // The folder the record was read from, ending with "\": the install
    // folder, inside which the record's files and controls must lie.
    CString m_strRecordFolder;
    // The entries passed over because they lie where no installation of
    // the package puts anything ("File Copy: C:\x.txt"), in record order.
    // Read once the job has ended.
    std::vector<std::string> m_skipped;
    // Unattended: the record's file error is logged, not shown.
    bool m_bSilent = false;
    // What the job could not remove, for a person to remove by hand: the
    // recorded files still on disk when it ended (not this program, which
    // its batch removes) and the recorded keys still present.  Folders are
    // never listed: one that stays holds files the record does not name.
    // Read once the job has ended.
    std::vector<std::string> m_failures;
    // The recorded files and folders in use by a running program, deleted
    // at the next restart.  Read once the job has ended.
    std::vector<std::string> m_atRestart;
    // Whether the job went through all its steps (a stop came too late, or
    // none came).  Read once the job has ended.
    bool m_bFinished = false;

    // Reads the record in text mode and remembers its folder.  On a file error shows the
    // framework's file-error box owned by the owner window, posts WM_UNINSTALL_FAILED to it and
    // returns FALSE.
    BOOL LoadRecord(LPCSTR path);

    // The record reader (see common/install_log.h) on m_strRecord.
    BOOL FindEntry(int kind, size_t& pos, size_t& start, size_t& length) const;
    int CountEntries(int kind) const;

    // Steps, in the job's order
    static CString InstallFolder();  // the V9 key's install folder, ending with "\"
    static BOOL RemoveDataSource(const CString& installDir);
    static BOOL UnregisterControl(LPCSTR path);
    void UnregisterControls();
    void DeleteRecordedFiles();
    void RemoveRecordedDirs();
    void DeleteRecordedKeys();
    // Where the record's entries may lie: the record's folder, and the
    // Desktop and Programs folders the installer reads.
    RecordScope CurrentScope() const;
    // Whether an entry lies in scope and no component of it below its
    // scope folder is a reparse point; otherwise notes it as skipped.
    // scopeFolder, when given, receives that scope folder.
    bool ActsOn(RecordKind kind, const std::string& value, std::string* scopeFolder = nullptr);
    // Deletes the file (or removes the empty folder) at path through a
    // handle opened without following a reparse point, once the opened
    // object is known to be no reparse point and to lie inside base by its
    // final path; logs the outcome.  False when it may still exist.
    static bool RemoveBelow(const std::string& base, const std::string& path, bool folder);
    // Whether ordinary users can write the control at path or any folder
    // from base down to it: then it is never loaded.
    static bool UsersCanChange(const std::string& base, const std::string& path);
    void RemoveHostProfiles();
    // Active Setup removes the "<<Quilm V8>>" profiles at each user's next
    // logon; a component not written is listed in m_failures.
    BOOL RegisterProfileRemoval();
    // Fills m_failures from what the passes above left.
    void CollectFailures();
    // Writes the self-deleting batch and starts it.  When the batch cannot
    // be written the program is listed in m_failures.
    void SelfDelete();
    // The access list of the batch and its folder: only SYSTEM,
    // Administrators and the account that runs us.
    static std::string SelfDeleteDacl();
    // Makes the batch's own folder in the temporary folder and the batch
    // for program in it, both new and with SelfDeleteDacl, giving up after
    // tries tries; its path, or empty (logged) when either could not be
    // made.
    static std::string WriteSelfDeleteBatch(const std::string& program,
                                            int tries = kSelfDeleteTries);
    // How many times, a second apart, the batch tries to delete this
    // program before it gives up.
    int m_selfDeleteTries = kSelfDeleteTries;

    // Starts the batch through cmd given by its full path (suspended, idle
    // priority, without a window, in currentFolder: the batch's own);
    // FALSE when it could not be started.  A test replaces it, since
    // a started batch would delete the test program itself.  A plain
    // pointer rather than a virtual, so it stays what the test set even
    // while a derived object is being destroyed around the running thread.
    typedef BOOL (*BatchStarter)(LPCSTR application, LPSTR commandLine, LPCSTR currentFolder,
                                 PROCESS_INFORMATION& process);
    static BOOL StartBatchProcess(LPCSTR application, LPSTR commandLine, LPCSTR currentFolder,
                                  PROCESS_INFORMATION& process);
    BatchStarter m_pfnStartBatch = &CUninstallThread::StartBatchProcess;

protected:
    // The whole job, step by step in the order above.
    void Work() override;

private:
    // Notes an entry passed over, for the log and m_skipped.
    void Skip(RecordKind kind, const std::string& value);
    // Whether an entry lies in scope by its name as recorded or by its long
    // name; path is the one that does, base its scope folder.
    bool InScope(RecordKind kind, const std::string& value, std::string& path,
                 std::string& base) const;
    // Logs the outcome of removing path (error from CCheckedFolder); false
    // when it may still exist.
    static bool Removed(const std::string& path, bool folder, DWORD error);
    // Removed, except that what a running program holds is recorded for
    // deletion at the next restart (m_atRestart): true then too.
    bool Gone(const std::string& path, bool folder, DWORD error);
    bool HoldsDeletedAtRestart(const std::string& folder) const;

    RecordScope m_scope;
    // Acted-on entries that may outlast the job.
    std::vector<std::string> m_filesLeft;
    std::vector<std::string> m_keysLeft;
};
