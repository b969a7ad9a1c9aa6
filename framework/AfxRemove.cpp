#include "AfxRemove.h"

#include <winternl.h>

#include "common/mbcs.h"
#include "common/paths.h"
#include "common/record_scope.h"

#ifndef FILE_NON_DIRECTORY_FILE
#define FILE_NON_DIRECTORY_FILE 0x00000040
#endif
#ifndef FILE_SYNCHRONOUS_IO_NONALERT
#define FILE_SYNCHRONOUS_IO_NONALERT 0x00000020
#endif
#ifndef FILE_OPEN_FOR_BACKUP_INTENT
#define FILE_OPEN_FOR_BACKUP_INTENT 0x00004000
#endif
#ifndef OBJ_CASE_INSENSITIVE
#define OBJ_CASE_INSENSITIVE 0x00000040
#endif

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

typedef NTSTATUS(NTAPI* NtCreateFileFn)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                        PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
typedef ULONG(NTAPI* RtlNtStatusToDosErrorFn)(NTSTATUS);

// The native open, the only one that opens a name relative to a folder's
// handle.  ntdll is in every process; bound at first use.
struct NativeCalls {
    NtCreateFileFn createFile = nullptr;
    RtlNtStatusToDosErrorFn toDosError = nullptr;
};
const NativeCalls& Native() {
    static const NativeCalls calls = [] {
        NativeCalls c;
        HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
        if (ntdll) {
            c.createFile = reinterpret_cast<NtCreateFileFn>(
                reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "NtCreateFile")));
            c.toDosError = reinterpret_cast<RtlNtStatusToDosErrorFn>(
                reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlNtStatusToDosError")));
        }
        return c;
    }();
    return calls;
}

// The final path of an open object under its volume's device name
// ("\Device\HarddiskVolume2\..."); empty when the system cannot tell.
// Paths are only compared with each other, and the device name needs no
// question to the mount manager, which a drive letter does.
std::string FinalPath(HANDLE object) {
    char path[MAX_PATH * 4];
    DWORD n = ::GetFinalPathNameByHandleA(object, path, sizeof(path),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
    return n == 0 || n >= sizeof(path) ? std::string() : std::string(path, n);
}

// Whether the final path path is folder's or lies inside it.
bool IsFinalPathInside(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() < folder.size()) return false;
    if (CompareNoCase936(path.substr(0, folder.size()), folder) != 0) return false;
    return path.size() == folder.size() || path[folder.size()] == '\\';
}

HANDLE OpenNoReparse(const std::string& path, DWORD access) {
    return ::CreateFileA(path.c_str(), access, kShareAll, NULL, OPEN_EXISTING,
                         FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
}

const NTSTATUS kStatusCannotDelete = static_cast<NTSTATUS>(0xC0000121);

// Deletes the open file after clearing its read-only attribute.
DWORD DeleteReadOnly(HANDLE file) {
    FILE_BASIC_INFO basic = {};
    if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic)))
        return ::GetLastError();
    if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
        basic.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
        if (!basic.FileAttributes) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (!::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)))
            return ::GetLastError();
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                        sizeof(disposition))
               ? ERROR_SUCCESS
               : ::GetLastError();
}

bool IsOneComponent(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string::npos;
}

}  // namespace

bool AfxNoReparsePointBelow(const std::string& base, const std::string& path) {
    for (const std::string& part : PathsBelow(base, path)) {
        DWORD attributes = ::GetFileAttributesA(part.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        }
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
    }
    return true;
}

DWORD CCheckedFolder::Open(const std::string& base, const std::string& folder) {
    Close();
    m_base = base;
    m_path = folder;
    if (!IsInsideFolder(folder, base, true) || !AfxNoReparsePointBelow(base, folder))
        return m_openError = ERROR_CANT_ACCESS_FILE;
    CHandle opened(OpenNoReparse(folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE));
    if (!opened.IsValid()) return m_openError = ::GetLastError();
    // The attributes alone: the fuller query also asks the volume for its
    // serial number.
    FILE_ATTRIBUTE_TAG_INFO info = {};
    if (!::GetFileInformationByHandleEx(opened, FileAttributeTagInfo, &info, sizeof(info)))
        return m_openError = ::GetLastError();
    if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !(info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return m_openError = ERROR_CANT_ACCESS_FILE;
    // The scope folder as it was first opened, and the folder as it is
    // opened now: a folder on the way swapped for a link leads outside.
    if (m_basePath.empty() || m_basePathOf != base) {
        CHandle scope(OpenNoReparse(base, FILE_READ_ATTRIBUTES));
        m_basePath = scope.IsValid() ? FinalPath(scope) : std::string();
        m_basePathOf = base;
    }
    const std::string folderPath = FinalPath(opened);
    if (m_basePath.empty() || folderPath.empty() || !IsFinalPathInside(folderPath, m_basePath))
        return m_openError = ERROR_CANT_ACCESS_FILE;

    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileExA(JoinPath(folder, "*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, NULL, 0);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                m_reparsePoints.push_back(found.cFileName);
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    m_folder.Attach(opened.Detach());
    return m_openError = ERROR_SUCCESS;
}

void CCheckedFolder::Close() {
    m_folder.Close();
    m_reparsePoints.clear();
    m_openError = ERROR_INVALID_HANDLE;
}

bool CCheckedFolder::IsReparsePoint(const std::string& name) const {
    for (const std::string& point : m_reparsePoints)
        if (CompareNoCase936(point, name) == 0) return true;
    return false;
}

DWORD CCheckedFolder::Remove(const std::string& name, bool folder) {
    if (!IsOpen()) return m_openError;
    if (!IsOneComponent(name) || IsReparsePoint(name)) return ERROR_CANT_ACCESS_FILE;
    const NativeCalls& native = Native();
    if (!native.createFile || !native.toDosError) return ERROR_CALL_NOT_IMPLEMENTED;
    std::wstring wide(name.size() + 1, L'\0');
    int n = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.c_str(),
                                  static_cast<int>(name.size()), &wide[0],
                                  static_cast<int>(wide.size()));
    if (n <= 0) return ERROR_INVALID_NAME;
    UNICODE_STRING text;
    text.Buffer = &wide[0];
    text.Length = text.MaximumLength = static_cast<USHORT>(n * sizeof(WCHAR));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, m_folder.Get(), NULL);
    // A file goes with the handle's close (one open, one close); a folder
    // is marked through the handle, which tells when it is not empty.
    const ULONG options = FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT |
                          (folder ? FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT
                                  : FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE);
    IO_STATUS_BLOCK io = {};
    HANDLE object = NULL;
    NTSTATUS status =
        native.createFile(&object, DELETE | SYNCHRONIZE | (folder ? FILE_READ_ATTRIBUTES : 0),
                          &attributes, &io, NULL, 0, kShareAll, FILE_OPEN, options, NULL, 0);
    // A read-only file refuses deletion: through a second open of the same
    // name its attribute goes, then the mark.
    if (status == kStatusCannotDelete && !folder) {
        status = native.createFile(
            &object, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
            &attributes, &io, NULL, 0, kShareAll, FILE_OPEN, options & ~FILE_DELETE_ON_CLOSE, NULL,
            0);
        if (status >= 0) {
            CHandle opened(object);
            return DeleteReadOnly(opened);
        }
    }
    if (status < 0) {
        DWORD error = native.toDosError(status);
        return error == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : error;
    }
    CHandle opened(object);
    if (!folder) return ERROR_SUCCESS;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (!::SetFileInformationByHandle(opened, FileDispositionInfo, &disposition,
                                      sizeof(disposition)))
        return ::GetLastError();
    opened.Close();  // a marked folder goes with its last handle
    // Some systems accept the mark on a folder that is not empty and keep it.
    if (::GetFileAttributesA(JoinPath(m_path, name).c_str()) != INVALID_FILE_ATTRIBUTES)
        return ERROR_DIR_NOT_EMPTY;
    return ERROR_SUCCESS;
}

DWORD AfxRemoveBelow(const std::string& base, const std::string& path, bool folder) {
    const size_t cut = LastSeparatorOffset(path);
    if (cut == std::string::npos) return ERROR_CANT_ACCESS_FILE;
    CCheckedFolder parent;
    DWORD error = parent.Open(base, path.substr(0, cut));
    if (error == ERROR_PATH_NOT_FOUND) error = ERROR_FILE_NOT_FOUND;
    return error == ERROR_SUCCESS ? parent.Remove(path.substr(cut + 1), folder) : error;
}
