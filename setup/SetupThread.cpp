#include "SetupThread.h"

#include "../common/install_log.h"
#include "../common/messages.h"
#include "../common/paths.h"

const char* const CSetupThread::kPackageFolders[9] = {
    "Support", "Control", "Database", "线型库", "填充图案", "图框", "图例", "图库", "Temp"};

CString SystemErrorText(DWORD error) {
    char* text = NULL;
    DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        NULL, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        NULL);
    CString result = n && text ? CString(text, static_cast<int>(n)) : CString();
    if (text) ::LocalFree(text);
    return result;
}

int CSetupThread::Run() {
    BOOL copied = TRUE;
    for (const char* name : kPackageFolders) {
        if (!CopyFolderTree(m_strSourceDir + name, m_strDestDir + name)) {
            copied = FALSE;
            break;
        }
    }
    if (copied) {
        CopyRootFiles();
        // From here on the job no longer stops: let the page say so.
        if (m_pMainWnd) m_pMainWnd->SendMessage(WM_SETUP_CONFIGURING);
        RegisterControls();
        WriteProductKeys();
        CreateShortcuts();
        WriteRecordFile();
        ::PostMessageA(OwnerWindow(), WM_SETUP_DONE, 0, 0);
    } else {
        ::PostMessageA(OwnerWindow(), WM_SETUP_FAILED, 0, 0);
    }
    PostThreadMessage(WM_QUIT, 0, 0);
    return CWinThread::Run();
}

void CSetupThread::ReportProgress(LPCSTR source, LPCSTR dest) {
    ::SendMessageA(OwnerWindow(), WM_SETUP_PROGRESS, reinterpret_cast<WPARAM>(source),
                   reinterpret_cast<LPARAM>(dest));
}

int CSetupThread::Prompt(const CString& text, UINT type) {
    return AfxMessageBox(OwnerWindow(), text, type);
}

void CSetupThread::ReportFileError(const CFileException& error) {
    error.ReportError(OwnerWindow());
}

BOOL CSetupThread::CopyFolderTree(const CString& source, const CString& dest) {
    CString dir(WithTrailingBackslash(source.str()));
    CFileFind finder;
    for (;;) {
        if (finder.FindFile(dir + "*.*")) break;
        CString text;
        text.Format(
            "%s\n找不到安装文件的路径 %s，\n点击“重试”按钮试图重新查找该安装文件路径；\n"
            "点击“忽略”按钮将跳过该路径下的操作并继续执行；\n点击“取消”按钮将终止程序运行。",
            static_cast<LPCSTR>(SystemErrorText(::GetLastError())), static_cast<LPCSTR>(dir));
        int answer = Prompt(text, MB_ABORTRETRYIGNORE | MB_ICONQUESTION);
        if (answer == IDRETRY) continue;
        if (answer == IDIGNORE) return MakeDirPath(dest);
        return FALSE;  // Abort, or no answer at all
    }
    if (!MakeDirPath(dest)) return FALSE;

    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) continue;
        CString entry = finder.GetFilePath();
        CString target(JoinPath(dest.str(), finder.GetFileName().str()));
        if (finder.IsDirectory()) {
            if (!CopyFolderTree(entry, target)) return FALSE;
        } else if (::CopyFileA(entry, target, FALSE)) {
            // Don't carry a read-only attribute over from the medium.
            ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
            RecordFileCopy(target);
        }
        ReportProgress(entry, target);
        if (IsCancelled()) return FALSE;
    }
    return TRUE;
}

BOOL CSetupThread::MakeDirPath(const CString& path) {
    RecordMadeDir(path);
    // Each prefix is its own string, so a path of any length is handled:
    // one too long for the system fails in CreateDirectoryA and goes
    // through the prompt like any other folder that can't be made.
    for (const std::string& prefix : FolderPathPrefixes(path.str())) {
        CFileFind finder;
        if (finder.FindFile(prefix.c_str())) continue;
        while (!::CreateDirectoryA(prefix.c_str(), NULL)) {
            CString text;
            text.Format(
                "%s\n不能创建文件夹 %s ，\n点击“重试”按钮试图重新创建文件夹；\n"
                "点击“取消”按钮将终止程序运行。",
                static_cast<LPCSTR>(SystemErrorText(::GetLastError())), prefix.c_str());
            if (Prompt(text, MB_RETRYCANCEL | MB_ICONQUESTION) != IDRETRY) return FALSE;
        }
    }
    return TRUE;
}

void CSetupThread::CopyRootFiles() {
    CStringArray names;
    ListFiles(m_strSourceDir, "*.*", names);
    for (int i = 0; i < names.GetSize(); ++i) {
        const CString& name = names[i];
        if (name.CompareNoCase("Setup.exe") == 0) continue;
        CString target = m_strDestDir + name;
        ::CopyFileA(m_strSourceDir + name, target, FALSE);
        RecordFileCopy(target);
        if (name.CompareNoCase("QuilmV8.5.ico") == 0)
            ::SetFileAttributesA(target, FILE_ATTRIBUTE_HIDDEN);
    }
}

void CSetupThread::ListFiles(const CString& folder, LPCSTR mask, CStringArray& names) {
    names.RemoveAll();
    // The search runs in the folder itself; the current directory is put
    // back afterwards.  A folder we can't enter lists nothing, rather than
    // the files of whatever the current directory happens to be.
    DWORD need = ::GetCurrentDirectoryA(0, NULL);
    std::string saved(need ? need : 1, '\0');
    DWORD got = ::GetCurrentDirectoryA(need, &saved[0]);
    saved.resize(got < need ? got : 0);
    if (!::SetCurrentDirectoryA(folder)) return;
    CFileFind finder;
    BOOL more = finder.FindFile(mask);
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots() || finder.IsDirectory()) continue;
        names.Add(finder.GetFileName());
    }
    finder.Close();
    if (!saved.empty()) ::SetCurrentDirectoryA(saved.c_str());
}

void CSetupThread::RecordFileCopy(const CString& path) {
    m_strRecord += RecordLine(kFileCopy, path.str()).c_str();
}

void CSetupThread::RecordMadeDir(const CString& path) {
    m_strRecord += RecordLine(kMadeDir, path.str()).c_str();
}

void CSetupThread::RecordRegCtrl(const CString& path) {
    m_strRecord += RecordLine(kRegCtrl, path.str()).c_str();
}

void CSetupThread::RecordRegKey(HKEY root, const CString& keyPath) {
    RecordRoot code = kRootOther;
    if (root == HKEY_CLASSES_ROOT) code = kRootClassesRoot;
    else if (root == HKEY_CURRENT_USER) code = kRootCurrentUser;
    else if (root == HKEY_LOCAL_MACHINE) code = kRootLocalMachine;
    else if (root == HKEY_USERS) code = kRootUsers;
    m_strRecord += RecordRegKeyLine(code, keyPath.str()).c_str();
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
        ReportFileError(error);
        return FALSE;
    }
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_HIDDEN);
    return TRUE;
}
