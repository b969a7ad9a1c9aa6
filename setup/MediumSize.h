// What the copy phase takes from a medium, counted in one walk before the
// job starts: the files for the progress range, the bytes for the free
// space the destination needs.
#pragma once

#include <windows.h>

#include "../framework/AfxString.h"

struct MediumSize {
    int packageFiles = 0;  // plain files in the nine package folders
    ULONGLONG bytes = 0;   // their sizes, and those of the root files the job copies
};

// The nine package folders of sourceDir (ending with "\"; a missing one
// counts nothing) and its root files but Setup.exe, as CSetupThread
// copies them.
MediumSize MeasureMedium(const CString& sourceDir);

// The plain files below folder at any depth (blanks around it trimmed; 0
// for a blank or missing folder); their sizes are added to bytes.
int MeasureFolder(const CString& folder, ULONGLONG& bytes);
