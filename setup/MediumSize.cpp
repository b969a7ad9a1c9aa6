#include "MediumSize.h"

#include "../common/product_v8.h"
#include "../framework/AfxFile.h"

int MeasureFolder(const CString& folder, ULONGLONG& bytes) {
    CString dir = folder;
    dir.Trim();
    if (dir.IsEmpty()) return 0;
    int count = 0;
    AfxForEachEntry(dir, "*.*", [&](const CFileFind& entry) {
        if (entry.IsDirectory()) {
            count += MeasureFolder(entry.GetFilePath(), bytes);
        } else {
            ++count;
            bytes += entry.GetLength();
        }
        return true;
    });
    return count;
}

MediumSize MeasureMedium(const CString& sourceDir) {
    MediumSize size;
    for (const char* name : v8::kPackageFolders)
        size.packageFiles += MeasureFolder(sourceDir + name, size.bytes);
    AfxForEachEntry(sourceDir, "*.*", [&](const CFileFind& entry) {
        if (!entry.IsDirectory() && entry.GetFileName().CompareNoCase(v8::kSetupFile) != 0)
            size.bytes += entry.GetLength();
        return true;
    });
    return size;
}
