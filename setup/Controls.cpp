// Registering the package's controls.
#include "InstallSteps.h"

#include "framework/AfxDllSearch.h"
#include "framework/AfxFile.h"
#include "framework/AfxLog.h"
#include "resources/setup/resource.h"

void AddFailedItem(FailedItems& failed, UINT textId, const std::string& what) {
    CString text;
    text.Format(textId, what.c_str());
    failed.push_back(text.str());
}

void RegisterControls(const std::string& destDir, RecordAppender record, FailedItems& failed) {
    const CString folder = CString(destDir) + "Control\\";
    CStringArray names;
    AfxListFiles(folder, "*.ocx", names);
    for (int i = 0; i < names.GetSize(); ++i) {
        const CString path = folder + names[i];
        if (!RegisterControl(path)) AddFailedItem(failed, IDS_FAILED_CONTROL, path.str());
        record.Add(kRegCtrl, path.str());  // recorded whether or not it registered
    }
}

BOOL RegisterControl(LPCSTR path) {
    HRESULT result = AfxRegisterServer(path, true);
    AfxLog("control registered: %s: 0x%08lX", path, static_cast<unsigned long>(result));
    return result == S_OK;
}
