// The install folder's access list.  A folder outside the system's
// Program Files folders would inherit its parent's entries, which on a
// drive root let every authenticated user change what lies below; the
// folder Setup makes there gets the list Program Files gives its
// subfolders instead.
#include "InstallSteps.h"
#include "common/mbcs.h"
#include "common/paths.h"
#include "framework/AfxLog.h"
#include "framework/AfxSecurity.h"
#include "framework/AfxSystemFolders.h"

const char* const kInstallFolderDacl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
// The package writes into "Temp" at run time: Users may change it.
const char* const kScratchFolderDacl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)";

namespace {

const char* const kScratchFolder = "Temp";

bool IsInsideAny(const std::string& path, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string prefix = WithTrailingBackslash(folder);
        if (folder.size() > 2 && path.size() >= prefix.size() &&
            CompareNoCase936(path.substr(0, prefix.size()), prefix) == 0)
            return true;
    }
    return false;
}

// Makes folder with the access list of sddl; the system's error code.
DWORD MakeProtectedFolder(const std::string& folder, const char* sddl) {
    CSecurityDescriptor descriptor = AfxDescriptorFromSddl(sddl);
    if (!descriptor.IsValid()) return ::GetLastError();
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor, FALSE};
    return ::CreateDirectoryA(folder.c_str(), &security) ? ERROR_SUCCESS : ::GetLastError();
}

}  // namespace

InstallFolderState PrepareInstallFolder(const std::string& destDir) {
    const std::string dest = WithTrailingBackslash(destDir);
    const std::string folder = dest.substr(0, dest.size() - 1);
    DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const bool writable = AfxUsersCanWrite(folder.c_str());
        AfxLog("install folder existed, access list kept: %s; ordinary users can write to it: %s%s",
               folder.c_str(), writable ? "yes" : "no",
               writable ? " (controls are registered there all the same)" : "");
        return writable ? kFolderExistedWritable : kFolderExisted;
    }
    if (IsInsideAny(dest, AfxProgramFilesFolders())) return kFolderInProgramFiles;
    // The folders above are made as usual; the copy phase asks about any
    // that cannot be made.
    for (const std::string& prefix : FolderPathPrefixes(folder))
        if (prefix != folder) ::CreateDirectoryA(prefix.c_str(), NULL);
    DWORD error = MakeProtectedFolder(folder, kInstallFolderDacl);
    if (error != ERROR_SUCCESS) {
        AfxLog("install folder not made with its access list: %s: %s", folder.c_str(),
               AfxErrorText(error).c_str());
        return kFolderNotMade;
    }
    AfxLog("install folder made, closed to ordinary users: %s", folder.c_str());
    const std::string scratch = dest + kScratchFolder;
    error = MakeProtectedFolder(scratch, kScratchFolderDacl);
    if (error != ERROR_SUCCESS)
        AfxLog("scratch folder not made with its access list: %s: %s", scratch.c_str(),
               AfxErrorText(error).c_str());
    return kFolderMade;
}
