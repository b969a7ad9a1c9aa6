// Registering the package's controls.  Only the controls this run copied
// from the medium's "Control" are loaded: whatever else lies in the install
// folder's "Control" may have been put there by anyone, and its
// DllRegisterServer would run with the installer's rights.
#include "InstallSteps.h"

#include "common/mbcs.h"
#include "framework/AfxDllSearch.h"
#include "framework/AfxLog.h"
#include "framework/AfxSecurity.h"
#include "framework/AfxString.h"
#include "resources/setup/resource.h"

void AddFailedItem(FailedItems& failed, UINT textId, const std::string& what) {
    CString text;
    text.Format(textId, what.c_str());
    failed.push_back(text.str());
}

std::vector<std::string> CopiedControls(const std::string& record, const std::string& destDir) {
    const std::string folder = destDir + "Control\\";
    const std::string extension = ".ocx";
    std::vector<std::string> controls;
    size_t pos = 0, start = 0, length = 0;
    while (FindEntry(record, kFileCopy, pos, start, length)) {
        const std::string path = record.substr(start, length);
        if (path.size() <= folder.size() + extension.size() ||
            path.compare(0, folder.size(), folder) != 0)
            continue;
        const std::string name = path.substr(folder.size());
        if (SeparatorOffsets(name).empty() &&
            CompareNoCase936(name.substr(name.size() - extension.size()), extension) == 0)
            controls.push_back(path);
    }
    return controls;
}

void RegisterControls(const std::string& destDir, const std::vector<std::string>& controls,
                      RecordAppender record, FailedItems& failed) {
    // A control that ordinary users could have replaced since it was copied
    // is never loaded: not when they can write to the install folder (one
    // that existed before this run), to "Control", or to the file.
    const std::string folder = destDir.substr(0, destDir.size() - 1);
    const std::string controlFolder = destDir + "Control";
    std::string open = AfxUsersCanWrite(folder.c_str())          ? folder
                       : AfxUsersCanWrite(controlFolder.c_str()) ? controlFolder
                                                                 : std::string();
    for (const std::string& path : controls) {
        if (!open.empty() || AfxUsersCanWrite(path.c_str())) {
            AfxLog("control not registered, ordinary users can write to %s: %s",
                   open.empty() ? path.c_str() : open.c_str(), path.c_str());
            AddFailedItem(failed, IDS_FAILED_CONTROL, path);
            continue;  // never loaded, so not recorded for unregistration
        }
        if (!RegisterControl(path.c_str())) AddFailedItem(failed, IDS_FAILED_CONTROL, path);
        record.Add(kRegCtrl, path);  // recorded whether or not it registered
    }
}

BOOL RegisterControl(LPCSTR path) {
    HRESULT result = AfxRegisterServer(path, true);
    AfxLog("control registered: %s: 0x%08lX", path, static_cast<unsigned long>(result));
    return result == S_OK;
}
