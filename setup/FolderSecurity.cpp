// The install folder's access list.  A folder outside the system's
// Program Files folders would inherit its parent's entries, which on a
// drive root let every authenticated user change what lies below; the
// folder Setup makes there gets the list Program Files gives its
// subfolders instead.  Under Program Files it takes what Program Files
// passes on.  Either way its "Temp" gets the list of the system's own
// temporary folder.
#include "InstallSteps.h"
#include "common/mbcs.h"
#include "common/paths.h"
#include "framework/AfxLog.h"
#include "framework/AfxSecurity.h"
#include "framework/AfxSystemFolders.h"

const char* const kInstallFolderDacl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
// The package writes its scratch files into "Temp" at run time, as the
// user who runs AutoCAD.  As in the system's temporary folder, Users may
// traverse it and make files and folders in it (0x100026: write data,
// append data, traverse, synchronize; this folder and subfolders) but not
// list it, the creator gets full control of what it makes, and no one else
// but SYSTEM and Administrators may change that.
const char* const kScratchFolderDacl =
    "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;FA;;;CO)(A;CI;0x100026;;;BU)";

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

// Makes folder with the access list of sddl, or with what its parent
// passes on when sddl is NULL; the system's error code.
DWORD MakeFolder(const std::string& folder, const char* sddl) {
    CSecurityDescriptor descriptor;
    if (sddl) descriptor = AfxDescriptorFromSddl(sddl);
    if (sddl && !descriptor.IsValid()) return ::GetLastError();
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor, FALSE};
    return ::CreateDirectoryA(folder.c_str(), sddl ? &security : NULL) ? ERROR_SUCCESS
                                                                       : ::GetLastError();
}

}  // namespace

InstallFolderState PrepareInstallFolder(const std::string& destDir,
                                        std::vector<std::string>* made) {
    std::vector<std::string> none;
    if (!made) made = &none;
    const std::string dest = WithTrailingBackslash(destDir);
    const std::string folder = dest.substr(0, dest.size() - 1);
    DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const bool writable = AfxUsersCanWrite(folder.c_str());
        AfxLog("install folder existed, access list kept: %s; ordinary users can write to it: %s%s",
               folder.c_str(), writable ? "yes" : "no",
               writable ? " (no control is loaded there)" : "");
        return writable ? kFolderExistedWritable : kFolderExisted;
    }
    const bool programFiles = IsInsideAny(dest, AfxProgramFilesFolders());
    // The folders above are made as usual; the copy phase asks about any
    // that cannot be made.
    for (const std::string& prefix : FolderPathPrefixes(folder))
        if (prefix != folder && ::CreateDirectoryA(prefix.c_str(), NULL)) made->push_back(prefix);
    DWORD error = MakeFolder(folder, programFiles ? NULL : kInstallFolderDacl);
    if (error != ERROR_SUCCESS) {
        AfxLog("install folder not made: %s: %s", folder.c_str(), AfxErrorText(error).c_str());
        return kFolderNotMade;
    }
    made->push_back(folder);
    if (programFiles) AfxLog("folder made below Program Files, with its list: %s", folder.c_str());
    else AfxLog("install folder made, closed to ordinary users: %s", folder.c_str());
    const std::string scratch = dest + kScratchFolder;
    error = MakeFolder(scratch, kScratchFolderDacl);
    if (error == ERROR_SUCCESS) made->push_back(scratch);
    else
        AfxLog("scratch folder not made with its access list: %s: %s", scratch.c_str(),
               AfxErrorText(error).c_str());
    return programFiles ? kFolderInProgramFiles : kFolderMade;
}
