#include "SetupThread.h"

#include <set>

#include "../common/install_log.h"
#include "../common/paths.h"
#include "../common/product_v8.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxReplace.h"
#include "../resources/setup/resource.h"
#include "InstallSteps.h"

void CSetupThread::Work() {
    AfxLog("source: %s", static_cast<LPCSTR>(m_strSourceDir));
    AfxLog("destination: %s", static_cast<LPCSTR>(m_strDestDir));
    if (!CheckBeforeCopy()) {
        PostToOwner(WM_SETUP_FAILED);
        return;
    }
    if (CopyTrees()) {
        // The trees are there: nothing stops the job any more.
        m_journal.Commit(m_atRestart);
        CopyRootFiles();
        AfxLog("copy phase done: %d files not copied, %llu bytes copied",
               static_cast<int>(m_failedFiles.size()), m_nBytesCopied);
        // From here on the job no longer stops: let the page say so.
        SendToOwner(WM_SETUP_CONFIGURING);
        RegisterControls();
        WriteProductKeys();
        CreateShortcuts();
        WriteRecordFile();
        // A log that lost lines is a failure too; its path is known only
        // while it is open.
        AfxGetLog().Flush();
        if (AfxGetLog().WriteFailed())
            AddFailedItem(m_failedItems, IDS_FAILED_LOG, AfxGetLog().Path());
        for (const std::string& item : m_failedItems) AfxLog("failed: %s", item.c_str());
        for (const std::string& file : m_atRestart)
            AfxLog("completed at the restart: %s", file.c_str());
        m_nExitCode = !m_bRecordWritten                                   ? kExitFailed
                      : !(m_failedFiles.empty() && m_failedItems.empty()) ? kExitSomeFailed
                      : m_atRestart.empty()                               ? kExitDone
                                                                          : kExitRestart;
        PostToOwner(WM_SETUP_DONE);
    } else {
        AfxLog(IsStopped() ? "copy phase cancelled" : "copy phase stopped: no record written");
        m_nExitCode = IsStopped() ? kExitCancelled : kExitFailed;
        UndoCopyPhase();
        PostToOwner(WM_SETUP_FAILED);
    }
}

bool CSetupThread::CopyTrees() {
    std::vector<std::string> made;
    PrepareInstallFolder(m_strDestDir.str(), &made);
    m_journal.Begin(m_strDestDir.str(), made);
    for (const char* name : kPackageFolders)
        if (!CopyFolderTree(m_strSourceDir + name, m_strDestDir + name)) return false;
    return true;
}

void CSetupThread::UndoCopyPhase() {
    // What the copy staged for the restart is undone with it.
    m_atRestart.clear();
    SendToOwner(WM_SETUP_UNDOING, static_cast<WPARAM>(m_journal.Steps()));
    CProgressRelay relay;
    relay.SetOwner(OwnerWindow());
    const CCopyJournal::Undone undone = m_journal.Undo(
        [&](const std::string& path) {
            relay.Post(WM_SETUP_UNDO_STEP, path.c_str(), path.c_str());
        },
        m_atRestart);
    relay.Close();
    for (const std::string& path : m_atRestart)
        AfxLog("the restart completes the undo: %s", path.c_str());
    m_notUndone = undone.left;
    for (const std::string& path : m_notUndone) AfxLog("not undone: %s", path.c_str());
    AfxLog(
        "copy phase undone: %d files deleted, %d earlier files put back, %d folders removed, "
        "%d left for the restart, %d not undone",
        undone.filesDeleted, undone.filesPutBack, undone.foldersRemoved,
        static_cast<int>(m_atRestart.size()), static_cast<int>(undone.left.size()));
}

std::vector<std::string> CSetupThread::Failures() const {
    std::vector<std::string> all = m_failedFiles;
    all.insert(all.end(), m_failedItems.begin(), m_failedItems.end());
    return all;
}

void CSetupThread::RegisterControls() {
    const std::vector<std::string> controls = CopiedControls(m_strRecord.str(), m_strDestDir.str());
    ::RegisterControls(m_strDestDir.str(), controls, Record(), m_failedItems);
}

void CSetupThread::WriteProductKeys() {
    ::WriteProductKeys(m_strDestDir.str(), m_nBytesCopied, Record(), m_failedItems,
                       m_unsupportedHosts);
    ::RegisterActiveSetup(m_strDestDir.str(), m_failedItems);
}

BOOL CSetupThread::CreateShortcuts() {
    return ::CreateShortcuts(
        m_strDestDir.str(), m_bSilent, Record(),
        [this](const std::string& folder) { return MakeDirPath(folder) != FALSE; }, m_failedItems);
}

int CSetupThread::Prompt(const CString& text, UINT type) {
    return AfxMessageBox(OwnerWindow(), text, type);
}

void CSetupThread::ReportFileError(const CFileException& error) {
    error.ReportError(OwnerWindow());
}

namespace {

const char* AnswerName(int answer) {
    switch (answer) {
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDCANCEL: return "Cancel";
    case IDTRYAGAIN: return "Try again";
    case IDCONTINUE: return "Continue";
    case IDOK: return "OK";
    default: return "none";
    }
}

}  // namespace

int CSetupThread::Ask(const CString& text, UINT type) {
    // The owner shows the last entry's line before the prompt opens; a stop
    // that came with that entry answers Cancel without asking.
    if (m_pRelay) {
        m_pRelay->Wait();
        if (IsStopped()) return IDCANCEL;
    }
    CString line = text;
    for (char& c : line.str())
        if (c == '\n') c = ' ';
    AfxLog("prompt: %s", static_cast<LPCSTR>(line));
    AfxGetLog().Flush();
    int answer = 0;
    if (!m_bSilent) answer = Prompt(text, type);
    else answer = (type & MB_TYPEMASK) == MB_ABORTRETRYIGNORE ? IDABORT : IDCANCEL;
    AfxLog("answer: %s%s", AnswerName(answer), m_bSilent ? " (unattended)" : "");
    return answer;
}

void CSetupThread::FileError(const CFileException& error) {
    AfxLog("error: %s", static_cast<LPCSTR>(error.GetErrorMessage()));
    if (!m_bSilent) ReportFileError(error);
}

namespace {

bool IsFolder(LPCSTR path) {
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes one folder; true when it is there afterwards, error
// ERROR_SUCCESS when this call made it.  A file of that name is no folder:
// "already exists" then counts as failure.
bool MakeFolder(LPCSTR path, DWORD& error) {
    error = ERROR_SUCCESS;
    if (::CreateDirectoryA(path, NULL)) return true;
    error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS && IsFolder(path);
}

}  // namespace

bool CSetupThread::CopyPackageFile(const CString& source, const CString& target, ULONGLONG size,
                                   bool earlier) {
    // The earlier file moves into the journal's backup, or is copied there
    // when it cannot; not kept at all, it is overwritten as it is.
    const DWORD kept = earlier ? m_journal.Backup(target.str()) : ERROR_FILE_NOT_FOUND;
    if (earlier && m_journal.IsActive() && kept != ERROR_SUCCESS && kept != ERROR_ALREADY_EXISTS)
        AfxLog("earlier file not kept: %s: %s", static_cast<LPCSTR>(target),
               AfxErrorText(kept).c_str());
    std::string staged;
    const DWORD error = AfxCopyOver(source, target, earlier && kept != ERROR_SUCCESS, &staged);
    if (!earlier) m_journal.FileMade(target.str());
    if (!staged.empty()) m_journal.FileMade(staged);
    if (error == ERROR_SUCCESS_REBOOT_REQUIRED) {
        m_atRestart.push_back(target.str());
    } else if (error != ERROR_SUCCESS) {
        if (kept == ERROR_SUCCESS) m_journal.PutBackLast();
        m_failedFiles.push_back(source.str());
        AfxLog("not copied: %s -> %s: %s", static_cast<LPCSTR>(source), static_cast<LPCSTR>(target),
               AfxErrorText(error).c_str());
        return false;
    }
    m_nBytesCopied += size;
    AfxLog("copied: %s", static_cast<LPCSTR>(target));
    return true;
}

BOOL CSetupThread::CopyFolderTree(const CString& source, const CString& dest) {
    CProgressRelay relay;
    relay.SetOwner(OwnerWindow());
    m_pRelay = &relay;
    bool copied = CopyTree(source, dest);
    relay.Close();
    m_pRelay = nullptr;
    // A stop request that came with the last message ends the job here.
    return copied && !IsStopped();
}

bool CSetupThread::CopyTree(const CString& source, const CString& dest) {
    CString dir(WithTrailingBackslash(source.str()));
    CFileFind finder;
    for (;;) {
        if (finder.FindFile(dir + "*.*")) break;
        CString text;
        text.Format(IDS_PROMPT_NO_SOURCE, AfxSystemMessage(::GetLastError()).c_str(),
                    static_cast<LPCSTR>(dir));
        int answer = Ask(text, MB_ABORTRETRYIGNORE | MB_ICONQUESTION);
        if (answer == IDRETRY) continue;
        if (answer == IDIGNORE) return MakeDirPath(dest);
        return false;  // Abort, or no answer at all
    }
    // A reinstall's folder holds the earlier files: they are known from one
    // listing, not asked after one by one.
    const bool existed = IsFolder(dest);
    if (!MakeDirPath(dest)) return false;
    std::set<std::string> earlier;
    if (existed) {
        CStringArray names;
        AfxListFiles(dest, "*.*", names);
        for (int i = 0; i < names.GetSize(); ++i) earlier.insert(names[i].str());
    }

    return AfxForEachFound(finder, [&](const CFileFind& found) {
        if (IsStopped()) return false;
        CString entry = found.GetFilePath();
        CString target(JoinPath(dest.str(), found.GetFileName().str()));
        if (found.IsDirectory()) {
            if (!CopyTree(entry, target)) return false;
        } else if (CopyPackageFile(entry, target, found.GetLength(),
                                   earlier.count(found.GetFileName().str()) != 0)) {
            // Don't carry a read-only (hidden, system) attribute over from
            // the medium; the listing tells whether the copy has one.
            if (found.GetAttributes() & ~(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL))
                ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
            RecordFileCopy(target);
        }
        // The entry is on disk; its message waits for the previous one to
        // be taken, and a stop that came with that one ends the walk.
        m_pRelay->Wait();
        if (IsStopped()) return false;
        m_pRelay->Post(WM_SETUP_PROGRESS, entry, target);
        return true;
    });
}

BOOL CSetupThread::MakeDirPath(const CString& path) {
    RecordMadeDir(path);
    // Mostly only the last folder is missing: one call makes it.  Only
    // when that fails is each prefix tested and made, so that the prompt
    // names the folder that can't be made.
    DWORD error = ERROR_SUCCESS;
    if (MakeFolder(path, error)) {
        if (error == ERROR_SUCCESS) FolderMade(path.str());
        return TRUE;
    }
    // Each prefix is its own string, so a path of any length is handled:
    // one too long for the system fails in CreateDirectoryA and goes
    // through the prompt like any other folder that can't be made.  The
    // server and share of a network path are never among them.
    for (const std::string& prefix : FolderPathPrefixes(path.str())) {
        if (IsFolder(prefix.c_str())) continue;
        while (!MakeFolder(prefix.c_str(), error)) {
            CString text;
            text.Format(IDS_PROMPT_NO_FOLDER, AfxSystemMessage(error).c_str(), prefix.c_str());
            if (Ask(text, MB_RETRYCANCEL | MB_ICONQUESTION) != IDRETRY) return FALSE;
        }
        if (error == ERROR_SUCCESS) FolderMade(prefix);
    }
    return TRUE;
}

void CSetupThread::FolderMade(const std::string& path) {
    AfxLog("folder made: %s", path.c_str());
    m_journal.FolderMade(path);
}

void CSetupThread::CopyRootFiles() {
    CStringArray names;
    AfxListFiles(m_strSourceDir, "*.*", names);
    for (int i = 0; i < names.GetSize(); ++i) {
        const CString& name = names[i];
        if (name.CompareNoCase(v8::kSetupFile) == 0) continue;
        CString source = m_strSourceDir + name, target = m_strDestDir + name;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ::GetFileAttributesExA(source, GetFileExInfoStandard, &data);
        const bool copied = CopyPackageFile(
            source, target, (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
        RecordFileCopy(target);  // recorded whether or not it was copied
        // As in the folder trees, no read-only attribute from a disc.
        if (name.CompareNoCase(v8::kIconFile) == 0)
            ::SetFileAttributesA(target, FILE_ATTRIBUTE_HIDDEN);
        else if (copied &&
                 (data.dwFileAttributes & ~(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL)))
            ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    }
}

void CSetupThread::RecordFileCopy(const CString& path) {
    Record().Add(kFileCopy, path.str());
}

void CSetupThread::RecordMadeDir(const CString& path) {
    Record().Add(kMadeDir, path.str());
}

void CSetupThread::RecordRegCtrl(const CString& path) {
    Record().Add(kRegCtrl, path.str());
}

void CSetupThread::RecordRegKey(HKEY root, const CString& keyPath) {
    RecordRoot code = kRootOther;
    if (root == HKEY_CLASSES_ROOT) code = kRootClassesRoot;
    else if (root == HKEY_CURRENT_USER) code = kRootCurrentUser;
    else if (root == HKEY_LOCAL_MACHINE) code = kRootLocalMachine;
    else if (root == HKEY_USERS) code = kRootUsers;
    Record().AddRegKey(code, keyPath.str());
}

BOOL CSetupThread::WriteRecordFile() {
    CString path(JoinPath(m_strDestDir.str(), kRecordFileName));
    ::DeleteFileA(path);  // replace an earlier record, never extend it
    RecordFileCopy(path);
    try {
        CStdioFile file;
        file.Open(path, CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeText);
        file.WriteString(m_strRecord);
        file.Close();
    } catch (const CFileException& error) {
        FileError(error);
        AddFailedItem(m_failedItems, IDS_FAILED_RECORD, path.str());
        return FALSE;
    }
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_HIDDEN);
    m_bRecordWritten = true;
    AfxLog("record written: %s", static_cast<LPCSTR>(path));
    return TRUE;
}
