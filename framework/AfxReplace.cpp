#include "AfxReplace.h"

#include <cstdio>

#include "AfxLog.h"

namespace {

const DWORD kRefusedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Clears the attributes for which CopyFile refuses an existing target.
bool ClearRefusedAttributes(LPCSTR path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & kRefusedAttributes))
        return false;
    return ::SetFileAttributesA(path, (attributes & ~kRefusedAttributes) | FILE_ATTRIBUTE_NORMAL) !=
           FALSE;
}

DWORD CopyOnto(LPCSTR source, LPCSTR target) {
    return ::CopyFileA(source, target, FALSE) ? ERROR_SUCCESS : ::GetLastError();
}

// A name beside path that nothing has: "path.~N".
std::string FreeNameBeside(const std::string& path) {
    std::string name;
    for (unsigned n = 1; n < 10000; ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof(suffix), ".~%u", n);
        name = path + suffix;
        if (::GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    }
    return name;
}

}  // namespace

bool AfxIsInUse(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_USER_MAPPED_FILE;
}

DWORD AfxDeleteAtRestart(LPCSTR path) {
    return ::MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT) ? ERROR_SUCCESS_REBOOT_REQUIRED
                                                                  : ::GetLastError();
}

DWORD AfxMoveAside(const std::string& path, std::string& aside) {
    aside = FreeNameBeside(path);
    return ::MoveFileExA(path.c_str(), aside.c_str(), 0) ? ERROR_SUCCESS : ::GetLastError();
}

DWORD AfxCopyOver(LPCSTR source, LPCSTR target, bool targetExists, std::string* staged) {
    if (targetExists) ::DeleteFileA(target);  // if it stays, the copy below says why
    DWORD error = CopyOnto(source, target);
    // Windows refuses a hidden or read-only target (this Wine overwrites
    // a hidden one): the attributes go, the copy is tried again.
    if (error == ERROR_ACCESS_DENIED && ClearRefusedAttributes(target))
        error = CopyOnto(source, target);
    if (!AfxIsInUse(error) || ::GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) return error;

    // In use: the old file aside, the new one in its place.
    std::string aside;
    if (AfxMoveAside(target, aside) == ERROR_SUCCESS) {
        const DWORD copied = CopyOnto(source, target);
        if (copied != ERROR_SUCCESS) {
            ::MoveFileExA(aside.c_str(), target, 0);
            return copied;
        }
        const DWORD later = AfxDeleteAtRestart(aside.c_str());
        if (later != ERROR_SUCCESS_REBOOT_REQUIRED)
            AfxLog("old file left beside the new one: %s: %s", aside.c_str(),
                   AfxErrorText(later).c_str());
        else AfxLog("in use: %s moved aside to %s, deleted at the restart", target, aside.c_str());
        return later == ERROR_SUCCESS_REBOOT_REQUIRED ? later : ERROR_SUCCESS;
    }
    // Held without sharing even a rename: the new file waits beside it.
    const std::string beside = FreeNameBeside(target);
    DWORD staging = CopyOnto(source, beside.c_str());
    if (staging == ERROR_SUCCESS &&
        !::MoveFileExA(beside.c_str(), target,
                       MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING))
        staging = ::GetLastError();
    if (staging != ERROR_SUCCESS) {
        ::DeleteFileA(beside.c_str());
        return error;
    }
    ClearRefusedAttributes(beside.c_str());  // nothing for the restart to refuse
    if (staged) *staged = beside;
    AfxLog("in use: %s staged as %s, moved into place at the restart", target, beside.c_str());
    return ERROR_SUCCESS_REBOOT_REQUIRED;
}
