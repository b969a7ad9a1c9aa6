// Files: directory enumeration (CFileFind) and whole-file text I/O with
// line-end translation (CStdioFile), with the framework's file errors.
#pragma once

#include <windows.h>

#include "AfxHandle.h"
#include "AfxString.h"

// Enumerates the entries that match a pattern such as "C:\dir\*.*".
// After FindFile, each FindNextFile moves to the next entry and returns
// FALSE when that entry is the last one; the entry is valid either way.
class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(LPCSTR pattern = "*.*");
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return CString(m_current.cFileName); }
    ULONGLONG GetLength() const {
        return (static_cast<ULONGLONG>(m_current.nFileSizeHigh) << 32) | m_current.nFileSizeLow;
    }
    CString GetFilePath() const { return m_root + m_current.cFileName; }
    // The entry's attributes as the listing gave them.
    DWORD GetAttributes() const { return m_current.dwFileAttributes; }
    BOOL IsDirectory() const { return (GetAttributes() & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    BOOL IsDots() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_current = {};
    WIN32_FIND_DATAA m_next = {};
    BOOL m_bHaveNext = FALSE;
    CString m_root;  // folder of the pattern, with its trailing separator
};

// Folder walks.  AfxForEachFound calls visit(entry) for each entry a
// finder lists from where FindFile left it, "." and ".." left out, in the
// order the system lists them, until visit returns false; it returns
// false when visit stopped the walk.  AfxForEachEntry opens the finder on
// folder's entries that match mask ("*.ocx") first, and also returns
// false when the folder cannot be listed.
template <typename Visit>
bool AfxForEachFound(CFileFind& finder, Visit visit) {
    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) continue;
        if (!visit(static_cast<const CFileFind&>(finder))) return false;
    }
    return true;
}

// folder with a "\" appended where it lacks one, then mask.
CString AfxFolderPattern(const CString& folder, LPCSTR mask);

template <typename Visit>
bool AfxForEachEntry(const CString& folder, LPCSTR mask, Visit visit) {
    CFileFind finder;
    return finder.FindFile(AfxFolderPattern(folder, mask)) && AfxForEachFound(finder, visit);
}

// The names of folder's plain files that match mask, in the order the
// system lists them; none when the folder cannot be listed.
void AfxListFiles(const CString& folder, LPCSTR mask, CStringArray& names);

// A file error, carrying the framework's cause and the system error code.
class CFileException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    CFileException(Cause cause, LONG osError, LPCSTR fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    static Cause OsErrorToCause(LONG osError);
    // The framework's description of the error, naming the file.
    CString GetErrorMessage() const;
    // The framework's standard OK box for the error, owned by owner.
    int ReportError(HWND owner = NULL) const;

    Cause m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

// A file read or written whole.  In text mode (typeText) LF is written as
// CR LF and CR LF is read as LF.  Failures throw CFileException.
class CStdioFile {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
        typeText = 0x4000
    };

    CStdioFile() = default;
    ~CStdioFile() { Close(); }
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    void Open(LPCSTR fileName, UINT flags);  // throws
    ULONGLONG GetLength() const;             // throws
    // Reads up to count bytes of the file; in text mode the result is
    // shorter by one byte per CR LF pair.
    CString ReadAll(ULONGLONG count);       // throws
    void WriteString(const CString& text);  // throws
    void Close();

private:
    [[noreturn]] void Throw(DWORD osError) const;

    CHandle m_hFile;
    UINT m_nFlags = 0;
    CString m_strFileName;
};
