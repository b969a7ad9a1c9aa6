#include "setup/WizardFlow.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// A page that plays back scripted results and edits, and logs what it saw.
struct ScriptedPage : IWizardPage {
    int index = 0;
    std::vector<std::string>* log = nullptr;
    std::deque<long> results;
    // What the page "does" to its own copy of the data while shown.
    std::deque<void (*)(WizardData&)> edits;
    WizardData seen;
    WizardData mine;

    void Load(const WizardData& data) override {
        seen = data;
        mine = data;
        log->push_back("show " + std::to_string(index) + " agree=" + (data.bAgreement ? "1" : "0") +
                       " dest=" + data.strDestDir);
    }
    long Show() override {
        if (!edits.empty()) {
            if (edits.front()) edits.front()(mine);
            edits.pop_front();
        }
        if (results.empty()) return kWizFinish;  // stop a runaway script
        long r = results.front();
        results.pop_front();
        return r;
    }
    void Store(WizardData& data) const override {
        // Like the real pages: each gives back only its own part.
        if (index == 1) data.bAgreement = mine.bAgreement;
        if (index == 2) data.strDestDir = mine.strDestDir;
        if (index == 3) data.strSourceDir = mine.strSourceDir;
    }
};

struct Wizard {
    std::vector<std::string> log;
    ScriptedPage pages[kWizardPageCount];
    IWizardPage* ptrs[kWizardPageCount];
    WizardData data;
    std::deque<bool> quitAnswers;
    int questions = 0;

    Wizard() {
        for (int i = 0; i < kWizardPageCount; ++i) {
            pages[i].index = i;
            pages[i].log = &log;
            ptrs[i] = &pages[i];
        }
        data.strDestDir = "C:\\Program Files\\Corvantix\\Quilm\\";
        data.strSourceDir = "D:";
    }
    int Run() {
        return RunWizard(ptrs, data, [this] {
            ++questions;
            bool yes = quitAnswers.empty() ? true : quitAnswers.front();
            if (!quitAnswers.empty()) quitAnswers.pop_front();
            return yes;
        });
    }
};

}  // namespace

TEST(NextWizardPage, ResultsToMoves) {
    auto never = [] {
        ADD_FAILURE() << "asked";
        return false;
    };
    EXPECT_EQ(NextWizardPage(0, kWizNext, never), 1);
    EXPECT_EQ(NextWizardPage(4, kWizNext, never), 5);
    EXPECT_EQ(NextWizardPage(2, kWizBack, never), 1);
    EXPECT_EQ(NextWizardPage(0, kWizBack, never), -1);
    EXPECT_EQ(NextWizardPage(3, kWizFinish, never), kWizardEnd);
    EXPECT_EQ(NextWizardPage(2, 1 /* IDOK */, never), 2);
    EXPECT_EQ(NextWizardPage(2, -1, never), 2);
    EXPECT_EQ(NextWizardPage(1, kWizCancel, [] { return true; }), kWizardEnd);
    EXPECT_EQ(NextWizardPage(1, kWizCancel, [] { return false; }), 1);
}

TEST(RunWizard, StraightThroughShowsEveryPageOnce) {
    Wizard w;
    for (int i = 0; i < 4; ++i) w.pages[i].results = {kWizNext};
    w.pages[4].results = {kWizFinish};
    EXPECT_EQ(w.Run(), 5);
    EXPECT_EQ(w.questions, 0);
    ASSERT_EQ(w.log.size(), 5u);
    EXPECT_EQ(w.log[4].substr(0, 6), "show 4");
}

TEST(RunWizard, CancelAnsweredNoShowsTheSamePageAgainThenYesEnds) {
    Wizard w;
    w.pages[0].results = {kWizCancel, kWizCancel};
    w.quitAnswers = {false, true};
    EXPECT_EQ(w.Run(), 2);
    EXPECT_EQ(w.questions, 2);
    EXPECT_EQ(w.log[0].substr(0, 6), "show 0");
    EXPECT_EQ(w.log[1].substr(0, 6), "show 0");
}

TEST(RunWizard, BackFromTheWelcomePageEndsWithoutQuestion) {
    Wizard w;
    w.pages[0].results = {kWizBack};
    EXPECT_EQ(w.Run(), 1);
    EXPECT_EQ(w.questions, 0);
}

TEST(RunWizard, AgreementIsCarriedThroughBackAndNext) {
    Wizard w;
    w.pages[0].results = {kWizNext, kWizNext};
    w.pages[1].results = {kWizBack, kWizNext};
    w.pages[1].edits = {[](WizardData& d) { d.bAgreement = true; }, nullptr};
    w.pages[2].results = {kWizFinish};
    w.Run();
    // Second showing of the agreement page opens with the flag set.
    ASSERT_EQ(w.log.size(), 5u);
    EXPECT_EQ(w.log[1], "show 1 agree=0 dest=C:\\Program Files\\Corvantix\\Quilm\\");
    EXPECT_EQ(w.log[3], "show 1 agree=1 dest=C:\\Program Files\\Corvantix\\Quilm\\");
    EXPECT_TRUE(w.data.bAgreement);
}

TEST(RunWizard, DestinationIsReadBackWhateverTheResult) {
    Wizard w;
    w.pages[0].results = {kWizNext};
    w.pages[1].results = {kWizNext, kWizNext};
    w.pages[2].results = {kWizBack, kWizCancel, kWizFinish};
    w.pages[2].edits = {[](WizardData& d) { d.strDestDir = "E:\\Q"; },
                        [](WizardData& d) { d.strDestDir = "F:\\R"; }, nullptr};
    w.quitAnswers = {false};
    w.Run();
    // back to 1, next to 2 (shows E:\Q), cancel+No shows 2 again (F:\R).
    ASSERT_EQ(w.log.size(), 6u);
    EXPECT_EQ(w.log[4], "show 2 agree=0 dest=E:\\Q");
    EXPECT_EQ(w.log[5], "show 2 agree=0 dest=F:\\R");
    EXPECT_EQ(w.data.strDestDir, "F:\\R");
}

TEST(RunWizard, CopyPageGivesBackTheNormalisedSource) {
    Wizard w;
    for (int i = 0; i < 3; ++i) w.pages[i].results = {kWizNext};
    w.pages[3].results = {kWizFinish};
    w.pages[3].edits = {[](WizardData& d) { d.strSourceDir = NormalizedFolder(d.strSourceDir); }};
    EXPECT_EQ(w.Run(), 4);
    EXPECT_EQ(w.data.strSourceDir, "D:\\");
}

TEST(RunWizard, OtherResultsRepeatThePage) {
    Wizard w;
    w.pages[0].results = {1, 1, kWizNext};
    w.pages[1].results = {kWizFinish};
    EXPECT_EQ(w.Run(), 4);
    EXPECT_EQ(w.questions, 0);
}

TEST(FitSlide, RatiosOfTheCanvas) {
    struct Fit {
        double ratio;
        int x, y, width, height;
    };
    for (const Fit& e : {
             Fit{0.75, 0, 0, 1024, 768}, Fit{0.5625, 0, 96, 1024, 576}, Fit{0.5, 0, 128, 1024, 512},
             Fit{1.5, 256, 0, 512, 768}, Fit{1.0, 128, 0, 768, 768},
             Fit{0.7501, 0, 0, 1023,
                 768},  // just taller than 4:3 fills the height; widths truncate
             Fit{21167.0 / 15875.0, 224, 0, 575, 768},  // 600 x 800 in HIMETRIC units, not exact
         }) {
        SlideFit f = FitSlide(e.ratio);
        EXPECT_EQ((std::vector<int>{e.x, e.y, e.width, e.height}),
                  (std::vector<int>{f.x, f.y, f.width, f.height}))
            << e.ratio;
    }
}

TEST(SlideToShow, RestartsAtTheFirstPictureNotAtTheRemainder) {
    // Three pictures, one erase per tick: 0, 1, 2, 0, 1, ...
    int index = 0;
    std::vector<int> shown;
    for (int tick = 0; tick < 6; ++tick) {
        index = SlideToShow(index, 3);
        shown.push_back(index);
        ++index;  // the timer
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    // Several ticks without an erase: back to the first, not 7 mod 3.
    EXPECT_EQ(SlideToShow(7, 3), 0);
    EXPECT_EQ(SlideToShow(2, 3), 2);
    EXPECT_EQ(SlideToShow(5, 1), 0);
    EXPECT_EQ(SlideToShow(0, 1), 0);
}

TEST(FolderOfProgram, CutsBeforeTheLastBackslash) {
    EXPECT_EQ(FolderOfProgram("C:\\QuilmMedium\\Setup.exe"), "C:\\QuilmMedium");
    EXPECT_EQ(FolderOfProgram("D:\\Setup.exe"), "D:");
    EXPECT_EQ(FolderOfProgram("Setup.exe"), "Setup.exe");
    // "\xD5\x5C" is one character whose trail byte looks like a backslash.
    EXPECT_EQ(FolderOfProgram("C:\\a\xD5\x5C"
                              "b.exe"),
              "C:");
}

TEST(IsPlausibleDestination, NeedsABackslash) {
    EXPECT_FALSE(IsPlausibleDestination(""));
    EXPECT_FALSE(IsPlausibleDestination("D:"));
    EXPECT_FALSE(IsPlausibleDestination("Quilm"));
    EXPECT_FALSE(IsPlausibleDestination("   "));
    EXPECT_TRUE(IsPlausibleDestination("D:\\"));
    EXPECT_TRUE(IsPlausibleDestination("\\\\server\\share"));
    EXPECT_TRUE(IsPlausibleDestination("  \\  "));
    EXPECT_FALSE(IsPlausibleDestination("\xD5\x5C"));  // a trail byte is no separator
}

TEST(ClassifyDestination, DriveRootsAndSystemFolders) {
    const std::vector<std::string> system = {"C:\\windows", "C:\\windows\\system32",
                                             "C:\\Program Files\\",
                                             "D:\\"
                                             "\xD5\x5C"};
    const struct {
        const char* dest;
        DestinationKind kind;
    } cases[] = {
        {"C:\\", kDestDriveRoot},
        {"  d:\\ ", kDestDriveRoot},
        {"C:", kDestDriveRoot},
        {"\\\\server\\share\\", kDestDriveRoot},
        {"\\\\server\\share", kDestDriveRoot},
        {"C:\\Windows\\", kDestSystemFolder},
        {"c:\\WINDOWS", kDestSystemFolder},
        {"C:\\windows\\System32\\", kDestSystemFolder},
        {"C:\\PROGRAM FILES", kDestSystemFolder},
        {"D:\\"
         "\xD5\x5C"
         "\\",
         kDestSystemFolder},
        // Inside them, or beside them, is ordinary.
        {"C:\\Program Files\\Corvantix\\Quilm\\", kDestOrdinary},
        {"C:\\windows\\Quilm", kDestOrdinary},
        {"C:\\windows2", kDestOrdinary},
        {"\\\\server\\share\\Quilm", kDestOrdinary},
        {"D:\\"
         "\xD5\x5C"
         "X",
         kDestOrdinary},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyDestination(c.dest, system), c.kind) << c.dest;
}

TEST(BrowsedDestination, AppendsThePackageFolder) {
    EXPECT_EQ(BrowsedDestination("D:\\"), "D:\\Corvantix\\Quilm");
    EXPECT_EQ(BrowsedDestination("D:\\Apps"), "D:\\Apps\\Corvantix\\Quilm");
    EXPECT_EQ(BrowsedDestination("D:\\\xD5\x5C"), "D:\\\xD5\x5C\\Corvantix\\Quilm");
}

TEST(ProgressLine, RelativeToTheDestination) {
    EXPECT_EQ(ProgressLine("C:\\Q\\Support\\a.txt", "C:\\Q\\"), "Support\\a.txt ...");
    EXPECT_EQ(ProgressLine("E:\\other\\a.txt", "C:\\Q\\"), "E:\\other\\a.txt ...");
    EXPECT_EQ(ProgressLine("C:\\Q\\", "C:\\Q\\"), " ...");
    // A match that would start inside a double-byte character is none.
    EXPECT_EQ(ProgressLine("C:\\\xD5\x5C"
                           "x\\a",
                           "\\x\\"),
              "C:\\\xD5\x5C"
              "x\\a ...");
}

TEST(NormalizedFolder, TrimsAndEndsWithBackslash) {
    EXPECT_EQ(NormalizedFolder("  C:\\Q  "), "C:\\Q\\");
    EXPECT_EQ(NormalizedFolder("C:\\Q\\"), "C:\\Q\\");
    EXPECT_EQ(NormalizedFolder("D:"), "D:\\");
    EXPECT_EQ(NormalizedFolder("C:\\\xD5\x5C"), "C:\\\xD5\x5C\\");
}
