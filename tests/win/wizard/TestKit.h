// Helpers of the wizard's tests: a demo medium built with real files, and
// clean-up of what an installation leaves in the registry, the file system
// and the shell folders.  Files, folders, registry values and host paths
// come from the shared test support.
#pragma once

#include <windows.h>

#include <string>

#include "support/TestSupport.h"

namespace testkit {

using namespace quilmtest;

struct MediumOptions {
    bool withReadme = true;
    std::string missingFolder;  // one of the nine package folders left out
    int extraFiles = 0;         // more files in "Temp\bulk", for a long copy
    bool withSlides = true;     // the picture folder with two pictures
};
// Builds a medium in folder (with trailing "\"): the nine package folders
// with files at two depths, an empty subfolder, Chinese names, the root
// files, Setup.exe and the picture folder.  Returns the number of plain
// files in the nine folders.
int BuildMedium(const std::string& folder, const MediumOptions& options);

// The keys, folders and shortcuts an installation makes; removes them.
void RemoveInstallation(const std::string& destDir);

extern const char kProductKey[];
extern const char kUninstallKey[];
extern const char kDefaultDest[];
extern const char kStartMenuGroup[];

}  // namespace testkit
