// Setup.exe driven from a test: a medium built with real files, the
// wizard's pages walked as a person would, the record an installation
// leaves checked, and what an installation leaves removed again.
#pragma once

#include <windows.h>

#include <string>

#include "support/Process.h"
#include "support/ProductNames.h"
#include "support/TestSupport.h"

namespace quilmtest {

extern const char kDefaultDest[];  // the wizard's proposal, ending with "\"

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
int BuildMedium(const std::string& folder, const MediumOptions& options = MediumOptions());

// Removes the keys, the folder destDir (unless empty) and the shortcuts
// an installation makes.
void RemoveInstallation(const std::string& destDir);

// Checks what an installation of a medium with packageFiles package files
// into dest leaves: the files, the record, the product key, the complete
// Add/Remove Programs entry and the shortcuts.
void ExpectInstalled(const std::string& dest, int packageFiles, bool withReadme = true);

// The wizard's pages, told apart by a control only that page has.
enum class Page { kWelcome, kLicense, kPath, kCopy, kFinish };
HWND FindPage(DWORD pid, Page page);
HWND WaitPage(DWORD pid, Page page, DWORD timeoutMs = kWait);
// Presses the page's Next (Finish on the last page).
bool ClickNext(HWND page);
// Welcome -> agreement (accepted) -> the destination page; NULL when a
// page did not come.
HWND WalkToPathPage(DWORD pid);
// The same, then dest typed and Next pressed; the destination page.
HWND StartCopy(DWORD pid, const std::string& dest);
// The folder the path page shows.
std::string DestinationShown(HWND pathPage);

}  // namespace quilmtest
