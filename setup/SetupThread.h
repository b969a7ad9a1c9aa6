// CSetupThread: the install job.  Runs on its own thread, copies the
// package from the medium to the destination folder, registers and
// configures it, and writes the install record "Uninstall.log" last.
//
// It meets its owner window (the copy page) only through messages
// (SetupMessages.h): WM_SETUP_PROGRESS is sent once per entry of the nine
// folder trees, WM_SETUP_CONFIGURING once the copy phase is over, and
// WM_SETUP_DONE or WM_SETUP_FAILED is posted at the end.  A stop request
// ends the copy phase before its next entry; the configuring steps no
// longer stop.  A copy phase that stopped is undone (CCopyJournal): then
// WM_SETUP_UNDOING is sent once and WM_SETUP_UNDO_STEP once per entry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "../common/command_line.h"
#include "../common/install_log.h"
#include "../common/product_v8.h"
#include "../framework/AfxFile.h"
#include "../framework/AfxWin.h"
#include "CopyJournal.h"
#include "ProgressRelay.h"
#include "SetupMessages.h"

class CSetupThread : public CWorkerThread {
public:
    CSetupThread() = default;
    ~CSetupThread() override { EndJob(); }

    // Job state, set by the owner before Start.
    CString m_strRecord;
    CString m_strSourceDir;  // ends with "\"
    CString m_strDestDir;    // ends with "\"
    // Unattended: no prompt or box is shown; each takes the answer that
    // stops safely (Abort, Cancel, OK).  The shortcuts go to all users'
    // Desktop and Programs folders.
    bool m_bSilent = false;
    // The bytes the copy phase copies (MeasureMedium), for the free-space
    // check before it.
    ULONGLONG m_nBytesToCopy = 0;

    // What the job did, read once it has ended: the package and root files
    // whose copy failed (source paths), the bytes copied, and whether the
    // record was written.
    std::vector<std::string> m_failedFiles;
    // Everything else that did not get done (a control not registered, a
    // value, shortcut, record or log not written), each as a line for the
    // notice.
    std::vector<std::string> m_failedItems;
    // The AutoCAD releases found that the installation has no modules for
    // (a 64-bit AutoCAD): no failure, but named before the finish page.
    std::vector<std::string> m_unsupportedHosts;
    // The files that a running program held: replaced at the next restart;
    // after an undo, what the restart puts back or deletes.
    std::vector<std::string> m_atRestart;
    // After an undo, what it left as it was: a folder the run made that now
    // holds other files, an entry the system refused to delete or put back.
    std::vector<std::string> m_notUndone;
    // Both failure lists together: the files first.
    std::vector<std::string> Failures() const;
    ULONGLONG m_nBytesCopied = 0;
    bool m_bRecordWritten = false;
    // How the run went, as the program's exit code (common/command_line.h);
    // set before the job's last message.
    int m_nExitCode = kExitFailed;

    static constexpr const auto& kPackageFolders = v8::kPackageFolders;

    // Copy phase
    BOOL CopyFolderTree(const CString& source, const CString& dest);
    BOOL MakeDirPath(const CString& path);
    void CopyRootFiles();

    // The configuring steps (InstallSteps.h) on this job's destination and
    // record; a test may replace them.
    virtual void RegisterControls();
    virtual void WriteProductKeys();
    virtual BOOL CreateShortcuts();

    // Install record
    void RecordFileCopy(const CString& path);
    void RecordMadeDir(const CString& path);
    void RecordRegCtrl(const CString& path);
    void RecordRegKey(HKEY root, const CString& keyPath);
    BOOL WriteRecordFile();

protected:
    // The copy phase, then the configuring steps, then the record.
    void Work() override;
    // The copy phase's trees into the install folder, prepared first, each
    // change kept in m_journal; false when the phase stopped.
    bool CopyTrees();
    // Undoes the stopped copy phase, its steps shown by the owner.
    void UndoCopyPhase();
    CCopyJournal m_journal;

    // Shows a prompt owned by the owner window with the application's name
    // as caption and returns the button pressed.
    virtual int Prompt(const CString& text, UINT type);
    // Shows the framework's box for a file error of the record file.
    virtual void ReportFileError(const CFileException& error);

private:
    // The walk below one of the package folders; each entry's message goes
    // through m_pRelay.
    bool CopyTree(const CString& source, const CString& dest);
    // Prompt, once the page shows the last entry's line (during the copy
    // phase a stop request answers Cancel without asking), or unattended
    // the answer that stops safely; both go to the log with the answer.
    int Ask(const CString& text, UINT type);
    // PreCopyChecks.cpp, before the copy phase touches anything: the
    // programs using the destination, and the free space.  False, with the
    // exit code set and the reason logged, when the job ends there.
    bool CheckBeforeCopy();
    // ReportFileError (not when unattended); the log has it either way.
    void FileError(const CFileException& error);
    RecordAppender Record() { return RecordAppender(m_strRecord.str()); }
    // Copies one file, records and counts it; a failure is noted.
    // earlier: target is known to be there (a reinstall); the journal
    // keeps it until the copy phase is over.
    bool CopyPackageFile(const CString& source, const CString& target, ULONGLONG size,
                         bool earlier = false);
    // Logs a folder this run made and enters it in the journal.
    void FolderMade(const std::string& path);

    CProgressRelay* m_pRelay = nullptr;  // set while a package folder is copied
};
