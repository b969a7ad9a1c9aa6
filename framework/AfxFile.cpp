#include "AfxFile.h"

#include <cstring>
#include <string>

#include "../common/mbcs.h"
#include "../common/paths.h"
#include "../common/text_mode.h"
#include "AfxRes.h"
#include "AfxWin.h"

CString AfxFolderPattern(const CString& folder, LPCSTR mask) {
    return CString(WithTrailingBackslash(folder.str())) + mask;
}

BOOL CFileFind::FindFile(LPCSTR pattern) {
    Close();
    std::string text = pattern ? pattern : "*.*";
    size_t sep = LastSeparatorOffset(text);
    m_root = sep == std::string::npos ? CString() : CString(text.substr(0, sep + 1));
    m_hFind = ::FindFirstFileA(text.c_str(), &m_next);
    m_bHaveNext = m_hFind != INVALID_HANDLE_VALUE;
    return m_bHaveNext;
}

BOOL CFileFind::FindNextFile() {
    if (!m_bHaveNext) return FALSE;
    m_current = m_next;
    m_bHaveNext = ::FindNextFileA(m_hFind, &m_next);
    return m_bHaveNext;
}

void CFileFind::Close() {
    if (m_hFind != INVALID_HANDLE_VALUE) ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHaveNext = FALSE;
}

BOOL CFileFind::IsDots() const {
    return IsDirectory() &&
           (strcmp(m_current.cFileName, ".") == 0 || strcmp(m_current.cFileName, "..") == 0);
}

CFileException::Cause CFileException::OsErrorToCause(LONG osError) {
    switch (osError) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    default: return genericException;
    }
}

CString CFileException::GetErrorMessage() const {
    UINT format;
    switch (m_cause) {
    case fileNotFound: format = AFX_IDS_FILE_NOT_FOUND; break;
    case badPath: format = AFX_IDS_FILE_BAD_PATH; break;
    case tooManyOpenFiles: format = AFX_IDS_FILE_TOO_MANY_OPEN; break;
    case accessDenied: format = AFX_IDS_FILE_ACCESS_DENIED; break;
    case invalidFile: format = AFX_IDS_FILE_INVALID; break;
    case removeCurrentDir: format = AFX_IDS_FILE_REMOVE_CURRENT_DIR; break;
    case directoryFull: format = AFX_IDS_FILE_DIRECTORY_FULL; break;
    case badSeek: format = AFX_IDS_FILE_BAD_SEEK; break;
    case hardIO: format = AFX_IDS_FILE_HARD_IO; break;
    case sharingViolation: format = AFX_IDS_FILE_SHARING_VIOLATION; break;
    case lockViolation: format = AFX_IDS_FILE_LOCK_VIOLATION; break;
    case diskFull: format = AFX_IDS_FILE_DISK_FULL; break;
    case endOfFile: format = AFX_IDS_FILE_END_OF_FILE; break;
    default: format = AFX_IDS_FILE_GENERIC; break;
    }
    CString text;
    text.Format(format, static_cast<LPCSTR>(m_strFileName));
    return text;
}

int CFileException::ReportError(HWND owner) const {
    return AfxMessageBox(owner, GetErrorMessage(), MB_OK | MB_ICONEXCLAMATION);
}

void CStdioFile::Throw(DWORD osError) const {
    throw CFileException(CFileException::OsErrorToCause(static_cast<LONG>(osError)),
                         static_cast<LONG>(osError), m_strFileName);
}

void CStdioFile::Open(LPCSTR fileName, UINT flags) {
    Close();
    m_strFileName = fileName;
    m_nFlags = flags;
    DWORD access = (flags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    DWORD share = (flags & modeWrite) ? 0 : FILE_SHARE_READ;
    DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile.Attach(
        ::CreateFileA(fileName, access, share, NULL, disposition, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!m_hFile.IsValid()) Throw(::GetLastError());
}

ULONGLONG CStdioFile::GetLength() const {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size)) Throw(::GetLastError());
    return static_cast<ULONGLONG>(size.QuadPart);
}

CString CStdioFile::ReadAll(ULONGLONG count) {
    std::string bytes;
    const DWORD chunk = 1 << 20;
    while (bytes.size() < count) {
        DWORD want = static_cast<DWORD>(std::min<ULONGLONG>(chunk, count - bytes.size()));
        size_t have = bytes.size();
        bytes.resize(have + want);
        DWORD got = 0;
        if (!::ReadFile(m_hFile, &bytes[have], want, &got, NULL)) Throw(::GetLastError());
        bytes.resize(have + got);
        if (got == 0) break;  // the file became shorter: the text ends here
    }
    return (m_nFlags & typeText) ? CString(CrLfToLf(bytes)) : CString(bytes);
}

void CStdioFile::WriteString(const CString& text) {
    std::string bytes = (m_nFlags & typeText) ? LfToCrLf(text.str()) : text.str();
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD wrote = 0;
        if (!::WriteFile(m_hFile, bytes.data() + done, want, &wrote, NULL)) Throw(::GetLastError());
        if (wrote == 0) Throw(ERROR_WRITE_FAULT);
        done += wrote;
    }
}

void CStdioFile::Close() {
    m_hFile.Close();
}

void AfxListFiles(const CString& folder, LPCSTR mask, CStringArray& names) {
    names.RemoveAll();
    AfxForEachEntry(folder, mask, [&names](const CFileFind& entry) {
        if (!entry.IsDirectory()) names.Add(entry.GetFileName());
        return true;
    });
}
