// The wizard's page sequence and the slideshow's picture fit: the parts of
// the setup wizard that need no window, so they can be tested anywhere.
#pragma once

#include <string>
#include <vector>

// Page results (the system's wizard button values, and IDCANCEL).
enum WizardResult : long {
    kWizCancel = 2,
    kWizBack = 0x3023,
    kWizNext = 0x3024,
    kWizFinish = 0x3025
};

enum { kWizardPageCount = 5 };

// The data carried from page to page.
struct WizardData {
    bool bAgreement = false;
    std::string strSourceDir;  // medium folder, no trailing backslash
    std::string strDestDir;    // install folder
};

// One page of the sequence: it takes the carried data before it is shown
// and gives its part back after it closed, whatever its result.
class IWizardPage {
public:
    virtual ~IWizardPage() = default;
    virtual void Load(const WizardData& data) = 0;
    virtual long Show() = 0;
    virtual void Store(WizardData& data) const = 0;
};

// Where the sequence goes from page `page` after it ended with `result`.
// kWizCancel asks confirmQuit first.  Returns the next page index; an
// index outside 0..4 ends the sequence (kWizardEnd for Finish and a
// confirmed quit).
enum { kWizardEnd = -100 };
template <typename ConfirmQuit>
int NextWizardPage(int page, long result, ConfirmQuit confirmQuit) {
    switch (result) {
    case kWizNext: return page + 1;
    case kWizBack: return page - 1;
    case kWizFinish: return kWizardEnd;
    case kWizCancel: return confirmQuit() ? kWizardEnd : page;
    default: return page;  // any other result shows the same page again
    }
}

// Runs the pages from the first until the sequence ends.  Returns the
// number of pages shown.
template <typename ConfirmQuit>
int RunWizard(IWizardPage* const (&pages)[kWizardPageCount], WizardData& data,
              ConfirmQuit confirmQuit) {
    int shown = 0;
    int n = 0;
    while (n >= 0 && n < kWizardPageCount) {
        IWizardPage* page = pages[n];
        page->Load(data);
        long result = page->Show();
        ++shown;
        page->Store(data);
        n = NextWizardPage(n, result, confirmQuit);
    }
    return shown;
}

// Fits a picture of the given height / width ratio into the 1024 x 768
// canvas: taller than 4:3 fills the height, 4:3 or wider fills the width;
// centred, sizes truncated.
struct SlideFit {
    int x, y, width, height;
};
enum { kCanvasWidth = 1024, kCanvasHeight = 768 };
SlideFit FitSlide(double ratio);

// The slide to show when the backdrop is erased with the index at `index`
// and `count` pictures listed: the index itself, or 0 (not the remainder)
// once it has run past the end.
int SlideToShow(int index, int count);

// The folder of the running program: its path cut before the last
// backslash (the whole path when it has none).
std::string FolderOfProgram(const std::string& programPath);

// The destination page accepts a folder that is not empty and holds at
// least one backslash.
bool IsPlausibleDestination(const std::string& text);

// What a destination folder is, for the uninstaller's sake: it removes
// only what lies inside the installation, which in a drive's root or a
// system folder is no longer told apart from everything else.
enum DestinationKind {
    kDestOrdinary,
    kDestDriveRoot,     // "C:\", "\\server\share": asked about, or refused unattended
    kDestSystemFolder,  // one of systemFolders: refused
};
// dest (blanks trimmed, a trailing separator or not) against the system's
// folders (the Windows, system and Program Files folders); compared
// without regard to case or a trailing "\".
DestinationKind ClassifyDestination(const std::string& dest,
                                    const std::vector<std::string>& systemFolders);

// The destination after browsing to `chosen`: chosen + "\" (unless it ends
// so) + "Corvantix\Quilm".
std::string BrowsedDestination(const std::string& chosen);

// The copy page's progress line: path + " ...", shown relative to the
// destination folder when it contains it.
std::string ProgressLine(const std::string& path, const std::string& destDir);

// The copy page's folder texts: blanks trimmed, a trailing "\" added.
std::string NormalizedFolder(const std::string& folder);
