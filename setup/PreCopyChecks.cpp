// The install job's checks before its copy phase.  Nothing is touched
// until both have passed: a run that ends here made no folder and wrote
// no record.
#include <cstdio>

#include "../common/paths.h"
#include "../framework/AfxLog.h"
#include "../host/ProgramsInUse.h"
#include "../resources/setup/resource.h"
#include "SetupThread.h"

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The free space this account may use (quotas counted) on the volume of
// dest, which may not exist yet: asked of the nearest of its folders that
// does, its root last ("D:\", "\\server\share\"), so that a volume
// mounted on a folder on the way counts.  False when none exists or the
// system does not tell; asked names the folder.
bool FreeSpaceFor(const std::string& dest, std::string& asked, ULONGLONG& free) {
    const std::vector<std::string> prefixes = FolderPathPrefixes(dest);
    std::vector<std::string> folders(prefixes.rbegin(), prefixes.rend());
    const size_t root = PathRootLength(dest);
    folders.push_back(dest.substr(0, root ? root : 2));
    for (const std::string& folder : folders) {
        asked = WithTrailingBackslash(folder);
        if (!IsFolder(asked)) continue;
        ULARGE_INTEGER available = {};
        if (!::GetDiskFreeSpaceExA(asked.c_str(), &available, NULL, NULL)) return false;
        free = available.QuadPart;
        return true;
    }
    return false;
}

// "1536.0 MB": the box gives both sizes in one unit, so they compare at a
// glance.  (The shell's StrFormatByteSize would bring in shlwapi.dll,
// which the programs do not load.)
std::string SizeText(ULONGLONG bytes) {
    char text[64] = "";
    std::snprintf(text, sizeof(text), "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

}  // namespace

bool CSetupThread::CheckBeforeCopy() {
    const std::string dest = m_strDestDir.str();
    const bool goOn = GoOnWithProgramsInUse(dest, m_bSilent, [this](const std::string& list) {
        CString text;
        text.Format(IDS_PROMPT_IN_USE, list.c_str());
        return Ask(text, MB_CANCELTRYCONTINUE | MB_ICONWARNING);
    });
    if (!goOn) {
        AfxLog("cancelled before the copy: programs use the installation");
        m_nExitCode = kExitCancelled;
        return false;
    }
    for (;;) {
        std::string folder;
        ULONGLONG free = 0;
        if (!FreeSpaceFor(dest, folder, free)) {
            AfxLog("free space not known: %s: %s", folder.c_str(),
                   AfxErrorText(::GetLastError()).c_str());
            return true;  // the copy then says what is wrong with the folder
        }
        if (free >= m_nBytesToCopy) {
            AfxLog("free space: %llu bytes needed, %llu bytes free on %s", m_nBytesToCopy, free,
                   folder.c_str());
            return true;
        }
        AfxLog("not enough free space: %llu bytes needed, %llu bytes free on %s", m_nBytesToCopy,
               free, folder.c_str());
        CString text;
        text.Format(IDS_PROMPT_NO_SPACE, folder.c_str(), SizeText(m_nBytesToCopy).c_str(),
                    SizeText(free).c_str());
        if (Ask(text, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY) continue;
        // A person's answer is a cancel; unattended, the installation failed.
        m_nExitCode = m_bSilent ? kExitFailed : kExitCancelled;
        AfxLog(m_bSilent ? "stopped before the copy: not enough free space"
                         : "cancelled before the copy: not enough free space");
        return false;
    }
}
