// Drives the real Setup.exe the way a person would: pages are found by
// their title and a control of their own, buttons are clicked, edit boxes
// typed into and questions answered; then the installation is checked in
// the file system and the registry.
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "resources/setup/resource.h"
#include "support/Boxes.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/Process.h"
#include "support/Wizard.h"
#include "UiDriver.h"

using namespace quilmtest;
using namespace uidriver;

namespace {

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        medium_ = TempRoot() + "QuilmWizardMedium\\";
        RemoveInstallation(kDefaultDest);
        ::RemoveDirectoryA("C:\\Program Files\\Corvantix");
    }

    void TearDown() override {
        setup_.Kill();  // only when a test failed half-way
        CloseNotepads();
        RemoveInstallation(kDefaultDest);
        ::RemoveDirectoryA("C:\\Program Files\\Corvantix");
        for (const std::string& extra : extraCleanup_) RemoveTree(extra);
        RemoveTree(medium_);
    }

    int Build(const MediumOptions& options = MediumOptions()) {
        return BuildMedium(medium_, options);
    }
    void Start() {
        for (const PROCESSENTRY32& process : Processes()) earlier_.insert(process.th32ProcessID);
        ASSERT_TRUE(setup_.Start(medium_ + "Setup.exe")) << ::GetLastError();
    }
    HWND At(Page page, DWORD timeout = kWait) { return WaitPage(setup_.id(), page, timeout); }
    HWND GoToPathPage() { return WalkToPathPage(setup_.id()); }
    HWND Box(DWORD timeout = kWait) { return WaitMessageBox(setup_.id(), timeout); }
    // From a medium without "Database", through the path page's "Next" to
    // the job's first box, its prompt for that folder; NULL when none came.
    HWND MissingFolderPrompt(int* files = nullptr) {
        const int built = Build(MediumOptions{true, "Database", 0});
        if (files) *files = built;
        Start();
        HWND path = GoToPathPage();
        if (!path) return NULL;
        Click(path, IDC_NEXT);
        return Box(kJobWait);
    }
    bool Ended(DWORD timeout = kWait) { return setup_.Wait(timeout); }

    // The colour of the screen at the top left corner, which the backdrop
    // covers and the pages never do.
    static COLORREF BackdropCorner() {
        HDC screen = ::GetDC(NULL);
        COLORREF colour = ::GetPixel(screen, 3, 3);
        ::ReleaseDC(NULL, screen);
        return colour;
    }
    // Waits until the corner shows what the backdrop paints there.
    static bool CornerShows(bool (*painted)(COLORREF)) {
        return WaitUntil([&] { return painted(BackdropCorner()); }, kWait);
    }
    // Without pictures: plain teal.
    static bool Teal(COLORREF c) { return c == RGB(0, 128, 128); }
    // One of the medium's two pictures: the 4:3 one fills the canvas (red
    // at the corner), the tall one leaves a white bar there.
    static bool Picture(COLORREF c) {
        return c == RGB(255, 255, 255) ||
               (abs(GetRValue(c) - 0xc0) < 40 && abs(GetGValue(c) - 0x39) < 40 &&
                abs(GetBValue(c) - 0x2b) < 40);
    }

    static std::vector<PROCESSENTRY32> Processes() {
        std::vector<PROCESSENTRY32> processes;
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return processes;
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL more = ::Process32First(snapshot, &entry); more;
             more = ::Process32Next(snapshot, &entry))
            processes.push_back(entry);
        ::CloseHandle(snapshot);
        return processes;
    }
    // The programs Setup started that still run ("notepad.exe" for an
    // opened readme).  One that ran before Setup is none of them, even
    // when its parent's id is Setup's now: the system hands out the id of
    // a process that has ended again (wineboot's, whose services.exe runs
    // on once a test has restarted the prefix).
    std::vector<std::string> Started() const {
        const std::vector<PROCESSENTRY32> processes = Processes();
        if (processes.empty()) return {"<no process list>"};
        std::vector<std::string> names;
        for (const PROCESSENTRY32& process : processes)
            if (process.th32ParentProcessID == setup_.id() &&
                !earlier_.count(process.th32ProcessID))
                names.push_back(process.szExeFile);
        return names;
    }

    // The ".txt" association every desktop has and a fresh prefix may
    // lack, so that a readme opened shows; put back by the fixture.
    bool AssociateText() {
        keys_.Guard(HKEY_CLASSES_ROOT, ".txt");
        std::string association;
        return GetValue(HKEY_CLASSES_ROOT, ".txt", NULL, association) ||
               SetValue(HKEY_CLASSES_ROOT, ".txt", NULL, "txtfile");
    }

    // A round trip through the page's thread: whatever the last click or
    // answer set off there has run (a refused page stays shown, one left
    // is hidden).
    static bool Settled(HWND page) {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutA(page, WM_NULL, 0, 0, SMTO_NORMAL, kWait, &result) != 0;
    }

    void Shot(const char* name) { EXPECT_TRUE(SaveShot(NULL, QUILM_SHOT_DIR, name)) << name; }

    // Answers the cancel question of the wizard and checks its text; shot
    // names a screenshot of the question.
    void AnswerQuit(int answer, const char* shot = nullptr) {
        HWND box = Box();
        ASSERT_NE(box, nullptr);
        if (shot) Shot(shot);
        EXPECT_EQ(MessageBoxText(box), "真要退出安装程序吗?");
        EXPECT_EQ(GetText(box), kWizardTitle);
        EXPECT_TRUE(AnswerMessageBox(box, answer));
    }

    static BOOL CALLBACK CloseNotepad(HWND hwnd, LPARAM found) {
        char cls[64] = {0};
        ::GetClassNameA(hwnd, cls, sizeof(cls));
        if (lstrcmpiA(cls, "Notepad") == 0) {
            ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
            ++*reinterpret_cast<int*>(found);
        }
        return TRUE;
    }
    static int CloseNotepads() {
        int found = 0;
        ::EnumWindows(&CloseNotepad, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    std::string medium_;
    KeyGuard keys_;
    ChildProcess setup_;
    std::set<DWORD> earlier_;  // the processes running before Setup started
    std::vector<std::string> extraCleanup_;
};

TEST_F(WizardTest, HappyPathWithTheDefaultFolder) {
    int files = Build(MediumOptions{false, "", 0});  // no readme.txt on this medium
    ASSERT_TRUE(AssociateText());
    Start();
    HWND welcome = At(Page::kWelcome);
    ASSERT_NE(welcome, nullptr);
    Shot("1-welcome");
    EXPECT_EQ(GetItemText(welcome, IDC_TITLE), "欢迎使用 Quilm V8.5 土地整理规划设计软件");
    EXPECT_EQ(GetItemText(welcome, IDC_WELCOME_TEXT),
              "单击 “下一步” 按钮继续安装, 或者\n单击 “取  消” 按钮退出安装程序。");
    // The backdrop covers the screen behind the page and owns the taskbar text.
    HWND backdrop = ::GetWindow(welcome, GW_OWNER);
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(GetText(backdrop), kWizardTitle);
    EXPECT_TRUE(::IsZoomed(backdrop));
    RECT screen;
    ::GetWindowRect(backdrop, &screen);
    EXPECT_GE(screen.right - screen.left, ::GetSystemMetrics(SM_CXSCREEN));

    // The agreement gates "下一步".
    Click(welcome, IDC_NEXT);
    HWND license = At(Page::kLicense);
    ASSERT_NE(license, nullptr);
    Shot("2-license");
    EXPECT_EQ(GetItemCheck(license, IDC_DISAGREE), BST_CHECKED);
    EXPECT_EQ(GetItemCheck(license, IDC_AGREE), BST_UNCHECKED);
    EXPECT_FALSE(IsItemEnabled(license, IDC_NEXT));
    std::string text = GetItemText(license, IDC_LICENSE_TEXT);
    EXPECT_NE(text.find("最终用户许可协议"), std::string::npos);
    Click(license, IDC_AGREE);
    EXPECT_TRUE(WaitItemEnabled(license, IDC_NEXT, true, kWait));
    ASSERT_TRUE(Settled(license));
    EXPECT_EQ(GetItemCheck(license, IDC_DISAGREE), BST_UNCHECKED);
    Click(license, IDC_DISAGREE);
    EXPECT_TRUE(WaitItemEnabled(license, IDC_NEXT, false, kWait));
    ASSERT_TRUE(Settled(license));
    EXPECT_EQ(GetItemCheck(license, IDC_AGREE), BST_UNCHECKED);
    Click(license, IDC_AGREE);
    ASSERT_TRUE(WaitItemEnabled(license, IDC_NEXT, true, kWait));
    Click(license, IDC_NEXT);

    HWND path = At(Page::kPath);
    ASSERT_NE(path, nullptr);
    Shot("3-path");
    EXPECT_EQ(GetItemText(path, IDC_DEST_EDIT), kDefaultDest);
    Click(path, IDC_NEXT);

    HWND copy = At(Page::kCopy, kWait);
    if (copy) Shot("4-copy");
    HWND finish = At(Page::kFinish, kJobWait);
    ASSERT_NE(finish, nullptr);
    Shot("5-finish");
    EXPECT_EQ(GetItemCheck(finish, IDC_README), BST_CHECKED);
    EXPECT_EQ(GetItemText(finish, IDC_README), "阅读 readme.htm 文件。");
    // Checked, but there is no readme.txt: the program just ends.
    Click(finish, IDC_NEXT);
    ASSERT_TRUE(Ended());
    EXPECT_EQ(setup_.ExitCode(), 0u);
    EXPECT_EQ(Started(), std::vector<std::string>());
    ExpectInstalled(kDefaultDest, files, false);
}

TEST_F(WizardTest, HappyPathIntoAFolderWithBlanksAndChineseNames) {
    int files = Build();
    const std::string top = "C:\\Program Files\\测试 目录";
    const std::string dest = top + "\\Quilm 安装\\";
    extraCleanup_.push_back(top);
    ASSERT_TRUE(AssociateText());
    Start();
    HWND path = GoToPathPage();
    ASSERT_NE(path, nullptr);
    // Typed without the trailing backslash: the copy page adds it.
    SetItemText(path, IDC_DEST_EDIT, dest.substr(0, dest.size() - 1));
    Click(path, IDC_NEXT);
    HWND finish = At(Page::kFinish, kJobWait);
    ASSERT_NE(finish, nullptr);
    Click(finish, IDC_NEXT);  // with "readme.txt" there: opened by the shell
    ASSERT_TRUE(Ended());
    ExpectInstalled(dest, files);
    EXPECT_EQ(Started(), std::vector<std::string>{"notepad.exe"});
    HWND notepad = WaitTopWindow(NULL, "Notepad", 0, 0, kWait);
    EXPECT_NE(notepad, nullptr);
    if (notepad) {
        EXPECT_NE(GetText(notepad).find("readme"), std::string::npos);
    }
    RemoveInstallation(dest);
}

// A 64-bit AutoCAD, and a medium without 64-bit modules for it: no
// profile, no shortcut, no failure, but a box says so before the finish
// page, and the log says why.
TEST_F(WizardTest, SixtyFourBitAutoCadWithoutModulesIsNamedBeforeTheFinishPage) {
    GuardAutoCadKeys(keys_);
    const std::string product = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804";
    ASSERT_TRUE(SetValue(kMachine64, product, "AcadLocation", "C:\\Program Files\\AutoCAD 2010"));
    Build();
    const std::string log = TempRoot() + "Quilm64.log";
    ASSERT_TRUE(setup_.Start(medium_ + "Setup.exe", "/LOG=" + log));
    HWND path = GoToPathPage();
    ASSERT_NE(path, nullptr);
    Click(path, IDC_NEXT);
    HWND box = Box(kJobWait);
    ASSERT_NE(box, nullptr);
    const std::string text = MessageBoxText(box);
    EXPECT_EQ(text.find("本软件不支持以下 1 个 64 位 AutoCAD"), 0u) << text;
    EXPECT_NE(text.find("\nAutoCAD R18.0 (64 位): C:\\Program Files\\AutoCAD 2010\\\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    HWND finish = At(Page::kFinish, kJobWait);
    ASSERT_NE(finish, nullptr);
    Click(finish, IDC_NEXT);
    ASSERT_TRUE(Ended());
    EXPECT_EQ(setup_.ExitCode(), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, product + "\\Profiles\\<<Quilm V8>>"));
    EXPECT_FALSE(FileExists(std::string(kDefaultDest) + "Quilmfor2010.LNK"));
    EXPECT_NE(ReadLog(log).find("AutoCAD R18.0 found in C:\\Program Files\\AutoCAD 2010\\ is "
                                "64-bit: the package has no 64-bit modules for it"),
              std::string::npos);
    ::DeleteFileA(log.c_str());
}

TEST_F(WizardTest, BackAndNextCarryTheData) {
    Build();
    Start();
    HWND path = GoToPathPage();
    ASSERT_NE(path, nullptr);
    // A picture is shown behind the pages.
    EXPECT_TRUE(CornerShows(&Picture)) << std::hex << BackdropCorner();
    // A drive without backslash is refused: the page stays, text selected.
    SetItemText(path, IDC_DEST_EDIT, "D:");
    Click(path, IDC_NEXT);
    HWND edit = ::GetDlgItem(path, IDC_DEST_EDIT);
    ASSERT_NE(edit, nullptr);
    DWORD_PTR selection = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ::SendMessageTimeoutA(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kWait,
                                         &selection) &&
                   selection == static_cast<DWORD_PTR>(MAKELONG(0, 2));
        },
        kWait))
        << std::hex << selection;
    ASSERT_TRUE(Settled(path));
    EXPECT_TRUE(::IsWindowVisible(path));
    // Refused and left with Back: carried, and shown again on return.
    Click(path, IDC_BACK);
    HWND license = At(Page::kLicense);
    ASSERT_NE(license, nullptr);
    EXPECT_EQ(GetItemCheck(license, IDC_AGREE), BST_CHECKED);
    EXPECT_TRUE(IsItemEnabled(license, IDC_NEXT));
    Click(license, IDC_NEXT);
    path = At(Page::kPath);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(GetItemText(path, IDC_DEST_EDIT), "D:");
    // Typed and left with Back: dropped.
    SetItemText(path, IDC_DEST_EDIT, "C:\\Typed\\Only");
    Click(path, IDC_BACK);
    license = At(Page::kLicense);
    ASSERT_NE(license, nullptr);
    Click(license, IDC_NEXT);
    path = At(Page::kPath);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(GetItemText(path, IDC_DEST_EDIT), "D:");
    // Back twice reaches the welcome page; Back there is not offered.
    Click(path, IDC_BACK);
    license = At(Page::kLicense);
    ASSERT_NE(license, nullptr);
    Click(license, IDC_BACK);
    HWND welcome = At(Page::kWelcome);
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(::GetDlgItem(welcome, IDC_BACK), nullptr);
    Click(welcome, IDCANCEL);
    AnswerQuit(IDYES);
    EXPECT_TRUE(Ended());
    EXPECT_FALSE(FolderExists(kDefaultDest));
}

namespace {

struct ChildText {
    std::string wanted;
    bool found;
};

BOOL CALLBACK FindChildText(HWND child, LPARAM lParam) {
    ChildText* c = reinterpret_cast<ChildText*>(lParam);
    if (GetText(child) == c->wanted) c->found = true;
    return !c->found;
}

bool HasChildText(HWND window, const std::string& text) {
    ChildText c = {text, false};
    ::EnumChildWindows(window, &FindChildText, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

}  // namespace

TEST_F(WizardTest, BrowseForTheDestination) {
    Build();
    const std::string top = "C:\\QuilmBrowseTarget";
    const std::string start = top + "\\Apps";
    extraCleanup_.push_back(top);
    ::CreateDirectoryA(top.c_str(), NULL);
    ::CreateDirectoryA(start.c_str(), NULL);
    Start();
    HWND path = GoToPathPage();
    ASSERT_NE(path, nullptr);
    SetItemText(path, IDC_DEST_EDIT, start);
    Click(path, IDC_BROWSE);
    HWND browser = WaitTopWindow(NULL, "#32770", setup_.id(), IDOK, kWait);
    ASSERT_NE(browser, nullptr);
    Shot("10-browse");
    EXPECT_TRUE(HasChildText(browser, "请选择安装路径:"));
    EXPECT_TRUE(HasChildText(browser, start));  // the status line
    // Cancelled: nothing changes.
    Click(browser, IDCANCEL);
    ASSERT_TRUE(WaitGone(browser, kWait));
    ASSERT_TRUE(Settled(path));
    EXPECT_EQ(GetItemText(path, IDC_DEST_EDIT), start);
    // Chosen: the package folder goes below the chosen one, only in the box.
    Click(path, IDC_BROWSE);
    browser = WaitTopWindow(NULL, "#32770", setup_.id(), IDOK, kWait);
    ASSERT_NE(browser, nullptr);
    Click(browser, IDOK);
    ASSERT_TRUE(WaitGone(browser, kWait));
    EXPECT_TRUE(WaitItemText(path, IDC_DEST_EDIT, start + "\\Corvantix\\Quilm", kWait))
        << GetItemText(path, IDC_DEST_EDIT);
    // Left with Back, the browsed text is not the destination.
    Click(path, IDC_BACK);
    HWND license = At(Page::kLicense);
    ASSERT_NE(license, nullptr);
    Click(license, IDC_NEXT);
    path = At(Page::kPath);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(GetItemText(path, IDC_DEST_EDIT), kDefaultDest);
    Click(path, IDCANCEL);
    AnswerQuit(IDYES);
    EXPECT_TRUE(Ended());
}

TEST_F(WizardTest, CancelQuestionOnSeveralPages) {
    MediumOptions noPictures;
    noPictures.withSlides = false;
    Build(noPictures);
    Start();
    HWND welcome = At(Page::kWelcome);
    ASSERT_NE(welcome, nullptr);
    // Without pictures the backdrop is plain teal.
    Shot("0-no-pictures");
    EXPECT_TRUE(CornerShows(&Teal)) << std::hex << BackdropCorner();
    // The product key is made (empty) by the first start.
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    Click(welcome, IDCANCEL);
    AnswerQuit(IDNO, "6-cancel-question");
    welcome = At(Page::kWelcome);
    ASSERT_NE(welcome, nullptr);
    Click(welcome, IDC_NEXT);
    HWND license = At(Page::kLicense);
    ASSERT_NE(license, nullptr);
    Click(license, IDC_AGREE);
    ASSERT_TRUE(WaitItemEnabled(license, IDC_NEXT, true, kWait));
    Click(license, IDCANCEL);
    AnswerQuit(IDNO);
    // Shown again from the carried flag.
    license = At(Page::kLicense);
    ASSERT_NE(license, nullptr);
    EXPECT_EQ(GetItemCheck(license, IDC_AGREE), BST_CHECKED);
    EXPECT_TRUE(IsItemEnabled(license, IDC_NEXT));
    Click(license, IDC_NEXT);
    HWND path = At(Page::kPath);
    ASSERT_NE(path, nullptr);
    // The close box asks too.
    ::PostMessageA(path, WM_CLOSE, 0, 0);
    AnswerQuit(IDNO);
    path = At(Page::kPath);
    ASSERT_NE(path, nullptr);
    Click(path, IDCANCEL);
    AnswerQuit(IDYES);
    EXPECT_TRUE(Ended());
    EXPECT_FALSE(FolderExists(kDefaultDest));
    std::string value;
    EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath", value));
}

TEST_F(WizardTest, ReinstallQuestionAnsweredNo) {
    Build();
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath", ""));
    Start();
    HWND box = Box();
    ASSERT_NE(box, nullptr);
    Shot("7-reinstall-question");
    EXPECT_EQ(MessageBoxText(box), "已经安装了本软件!\n是否重新安装?");
    EXPECT_EQ(GetText(box), "警告");
    EXPECT_TRUE(AnswerMessageBox(box, IDNO));
    // It ends by itself; a page would have waited for the user.
    bool paged = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            paged = paged || FindPage(setup_.id(), Page::kWelcome) != NULL;
            return paged || setup_.Wait(0);
        },
        kWait));
    EXPECT_FALSE(paged);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(setup_.ExitCode(), 2u);  // cancelled
}

TEST_F(WizardTest, ReinstallQuestionAnsweredYes) {
    int files = Build();
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath", "C:\\Old\\"));
    ASSERT_TRUE(AssociateText());
    Start();
    HWND box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(AnswerMessageBox(box, IDYES));
    HWND path = GoToPathPage();
    ASSERT_NE(path, nullptr);
    Click(path, IDC_NEXT);
    HWND finish = At(Page::kFinish, kJobWait);
    ASSERT_NE(finish, nullptr);
    Click(finish, IDC_README);  // unchecked: nothing is opened
    ASSERT_TRUE(WaitItemEnabled(finish, IDC_NEXT, true, kWait));
    ASSERT_TRUE(
        WaitUntil([&] { return GetItemCheck(finish, IDC_README) == BST_UNCHECKED; }, kWait));
    Click(finish, IDC_NEXT);
    ASSERT_TRUE(Ended());
    ExpectInstalled(kDefaultDest, files);
    // A readme opened would have been started before the program ended.
    EXPECT_EQ(Started(), std::vector<std::string>());
}

// Two package folders are missing: the job waits in its prompt for each,
// so both cancels come at known moments of the copy.  The prompt disables
// the page; the commands go to it as Esc and 取消 send them.
TEST_F(WizardTest, CancelOnTheCopyPage) {
    Build(MediumOptions{true, "Database", 0});
    ASSERT_TRUE(RemoveTree(medium_ + "图库"));
    const std::string dest = kDefaultDest;
    Start();
    HWND path = GoToPathPage();
    ASSERT_NE(path, nullptr);
    Click(path, IDC_NEXT);
    HWND copy = At(Page::kCopy);
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(IsItemEnabled(copy, IDC_BACK));
    EXPECT_FALSE(IsItemEnabled(copy, IDC_NEXT));
    HWND prompt = WaitBoxSaying(setup_.id(), "找不到安装文件的路径", kJobWait);
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(MessageBoxText(prompt).find("Database"), std::string::npos);
    // Enter neither ends the page nor starts the job again.
    ::PostMessageA(copy, WM_COMMAND, IDOK, 0);
    ::PostMessageA(copy, WM_COMMAND, IDCANCEL, 0);
    HWND box = WaitBoxSaying(setup_.id(), "真要退出安装程序吗？", kWait);
    ASSERT_NE(box, nullptr);
    Shot("8-copy-cancel-question");
    EXPECT_EQ(GetText(box), "Setup");
    EXPECT_TRUE(AnswerMessageBox(box, IDNO));
    // The copy goes on past the folder passed over, up to the next one;
    // the line names the last entry copied before it.
    EXPECT_TRUE(AnswerMessageBox(prompt, IDIGNORE));
    prompt = WaitBoxSaying(setup_.id(), "图库", kJobWait);
    ASSERT_NE(prompt, nullptr);
    EXPECT_TRUE(::IsWindow(copy));
    EXPECT_TRUE(FileExists(dest + "图例\\说明.txt"));
    EXPECT_EQ(GetItemText(copy, IDC_COPY_ITEM).compare(0, 5, "图例\\"), 0)
        << GetItemText(copy, IDC_COPY_ITEM);
    ::PostMessageA(copy, WM_COMMAND, IDCANCEL, 0);
    box = WaitBoxSaying(setup_.id(), "真要退出安装程序吗？", kWait);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(AnswerMessageBox(box, IDYES));
    // The page greys 取消 once it has asked the job to stop.
    EXPECT_TRUE(WaitUntil([&] { return !IsItemEnabled(copy, IDCANCEL); }, kWait));
    EXPECT_TRUE(AnswerMessageBox(prompt, IDIGNORE));
    ASSERT_TRUE(Ended(kJobWait));
    EXPECT_EQ(setup_.ExitCode(), 2u);
    // Stopped during the copy: nothing after it, no record, no product
    // value, no finish page.
    EXPECT_FALSE(FileExists(dest + "Temp\\说明.txt"));
    EXPECT_FALSE(FileExists(dest + "Uninstall.log"));
    EXPECT_FALSE(FileExists(dest + "Quilm.exe"));
    std::string value;
    EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath", value));
}

TEST_F(WizardTest, MissingPackageFolderIgnored) {
    int files = 0;
    HWND box = MissingFolderPrompt(&files);
    ASSERT_NE(box, nullptr);
    Shot("9-missing-folder");
    EXPECT_NE(MessageBoxText(box).find("找不到安装文件的路径"), std::string::npos);
    EXPECT_NE(MessageBoxText(box).find("Database"), std::string::npos);
    EXPECT_TRUE(AnswerMessageBox(box, IDIGNORE));
    HWND finish = At(Page::kFinish, kJobWait);
    ASSERT_NE(finish, nullptr);
    Click(finish, IDC_NEXT);
    ASSERT_TRUE(Ended());
    CloseNotepads();
    EXPECT_EQ(setup_.ExitCode(), 0u);  // an ignored folder is no failure
    EXPECT_TRUE(FolderExists(std::string(kDefaultDest) + "Database"));
    ExpectInstalled(kDefaultDest, files);
}

TEST_F(WizardTest, MissingPackageFolderAborted) {
    HWND box = MissingFolderPrompt();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(AnswerMessageBox(box, IDABORT));
    // The wizard ends without the finish page and without a question.
    ASSERT_TRUE(Ended());
    EXPECT_EQ(setup_.ExitCode(), 4u);
    // What was copied before the missing folder is undone.
    EXPECT_FALSE(FolderExists(std::string(kDefaultDest) + "Control"));
    EXPECT_FALSE(FolderExists(std::string(kDefaultDest) + "线型库"));
    EXPECT_FALSE(FileExists(std::string(kDefaultDest) + "Quilm.exe"));
    EXPECT_FALSE(FileExists(std::string(kDefaultDest) + "Uninstall.log"));
}

TEST_F(WizardTest, AbortKeepsAndNamesAFolderAnotherProgramWroteIn) {
    HWND prompt = MissingFolderPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(MessageBoxText(prompt).find("找不到安装文件的路径"), std::string::npos);
    const std::string control = std::string(kDefaultDest) + "Control";
    ASSERT_TRUE(WriteBytes(control + "\\笔记.txt", "not the installer's"));
    EXPECT_TRUE(AnswerMessageBox(prompt, IDABORT));
    HWND notice = WaitBoxSaying(setup_.id(), "以下 1 个项目未能撤消", kJobWait);
    ASSERT_NE(notice, nullptr);
    EXPECT_NE(MessageBoxText(notice).find(control + "\n"), std::string::npos);
    EXPECT_TRUE(AnswerMessageBox(notice, IDOK));
    ASSERT_TRUE(Ended());
    EXPECT_EQ(setup_.ExitCode(), 4u);
    EXPECT_TRUE(FileExists(control + "\\笔记.txt"));
    EXPECT_FALSE(FileExists(control + "\\说明.txt"));
}

// Deployment tools start the installer with switches instead of a person
// and read its exit code and its log instead of the screen.
TEST_F(WizardTest, VerySilentShowsNothingAndInstallsOverAnEarlierInstallation) {
    int files = Build();
    const std::string top = "C:\\Program Files\\静默 安装";
    const std::string dest = top + "\\Quilm 目录\\";
    const std::string log = TempRoot() + "静默 安装.log";
    extraCleanup_.push_back(top);
    for (int run = 0; run < 2; ++run) {
        ChildProcess setup;
        // The folder quoted with a backslash before the closing quote, as
        // people type it.
        ASSERT_TRUE(setup.Start(medium_ + "Setup.exe",
                                "/VERYSILENT /DIR=\"" + dest + "\" /LOG=\"" + log + "\""));
        std::string seen;
        EXPECT_TRUE(WaitUnseen(setup, kJobWait, seen)) << "run " << run << ": " << seen;
        EXPECT_EQ(setup.ExitCode(), 0u);
        ExpectInstalled(dest, files);
        // Installed for everyone: the shortcuts are all users'.
        EXPECT_TRUE(
            FileExists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "土地整理规划设计.LNK"));
        EXPECT_TRUE(FileExists(ShellFolder(CSIDL_COMMON_PROGRAMS) + kStartMenuGroup +
                               "\\Quilm V8.5 卸载程序.LNK"));
        const std::string text = ReadLog(log);
        EXPECT_NE(text.find("command line: /VERYSILENT"), std::string::npos) << text;
        EXPECT_NE(text.find("copied: " + dest + "Support\\说明.txt"), std::string::npos);
        EXPECT_NE(text.find("record written: " + dest + "Uninstall.log"), std::string::npos);
        EXPECT_EQ(text.find("installing over it") != std::string::npos, run == 1);
        EXPECT_NE(text.find("exit code 0"), std::string::npos);
    }
    ::DeleteFileA(log.c_str());
    RemoveInstallation(dest);
}

// A network destination: only the folders below the share are made, so no
// prompt stops the unattended run.  The test prefix serves \\localhost\c
// (scripts/wine-env.sh).
TEST_F(WizardTest, VerySilentIntoANetworkFolder) {
    const std::string top = "\\\\localhost\\c\\网络 安装";
    ASSERT_TRUE(FolderExists("\\\\localhost\\c\\windows"))
        << "no share \\\\localhost\\c: scripts/wine-env.sh links it in the prefix";
    int files = Build();
    const std::string dest = top + "\\Quilm\\";
    const std::string log = TempRoot() + "QuilmNetwork.log";
    extraCleanup_.push_back(top);
    EXPECT_EQ(RunProgram(medium_ + "Setup.exe", "/VERYSILENT /DIR=\"" + dest + "\" /LOG=" + log,
                         kJobWait),
              0u);
    ExpectInstalled(dest, files);
    const std::string text = ReadLog(log);
    EXPECT_EQ(text.find("prompt:"), std::string::npos) << text;
    EXPECT_NE(text.find("folder made: " + top), std::string::npos) << text;
    ::DeleteFileA(log.c_str());
    RemoveInstallation(dest);
}

TEST_F(WizardTest, UnattendedRunsThatCannotGoOnSayWhyInTheirExitCode) {
    Build(MediumOptions{true, "Database", 0});
    // Not understood: nothing is touched, and nothing is shown.
    // Nor is a drive's root or a system folder, which the uninstaller could
    // not clean up safely.
    for (const char* arguments :
         {"/VERYSILENT /BOGUS", "/SILENT /DIR=Quilm", "/VERYSILENT /DIR=", "/DIR=C:Quilm /SILENT",
          "/VERYSILENT /DIR=\"C:\\windows\"", "/SILENT /DIR=\"C:\\\"",
          "/VERYSILENT /DIR=c:\\WINDOWS\\system32\\", "/VERYSILENT \"/DIR=C:\\Program Files\"",
          "/VERYSILENT \"/DIR=C:\\Program Files (x86)\"", "/VERYSILENT /DIR=C:\\Windows\\SysWOW64",
          "/VERYSILENT /DIR=C:\\users\\", "/VERYSILENT /DIR=C:\\ProgramData"})
        EXPECT_EQ(RunProgram(medium_ + "Setup.exe", arguments, kWait), 1u) << arguments;
    EXPECT_FALSE(Exists(kDefaultDest));
    EXPECT_FALSE(Exists("C:\\windows\\Support"));
    EXPECT_FALSE(Exists("C:\\Support"));
    EXPECT_FALSE(Exists("C:\\Program Files\\Support"));
    EXPECT_FALSE(Exists("C:\\Program Files (x86)\\Support"));
    EXPECT_FALSE(Exists("C:\\ProgramData\\Support"));
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), "<missing>");

    // A package folder missing: its prompt is answered Abort by itself, the
    // job stops before its record, and the log names the folder.
    const std::string log = TempRoot() + "QuilmUnattended.log";
    EXPECT_EQ(RunProgram(medium_ + "Setup.exe", "/SILENT /LOG=" + log, kJobWait), 4u);
    EXPECT_FALSE(FileExists(std::string(kDefaultDest) + "Uninstall.log"));
    const std::string text = ReadLog(log);
    EXPECT_NE(text.find(medium_ + "Database"), std::string::npos) << text;
    EXPECT_NE(text.find("answer: Abort (unattended)"), std::string::npos) << text;
    EXPECT_NE(text.find("exit code 4"), std::string::npos) << text;
    ::DeleteFileA(log.c_str());
}

TEST_F(WizardTest, HelpAndACommandLineNotUnderstoodAnswerInABox) {
    Build();
    // Asked for, the list of switches is shown even when nothing else is.
    const struct {
        const char* arguments;
        const char* says;
        DWORD code;
    } runs[] = {
        {"/?", "/VERYSILENT", 0}, {"/VERYSILENT /help", "/DIR", 0}, {"/DIR=Quilm", "Quilm", 1}};
    for (const auto& run : runs) {
        ChildProcess setup;
        ASSERT_TRUE(setup.Start(medium_ + "Setup.exe", run.arguments));
        HWND box = WaitMessageBox(setup.id(), kWait);
        ASSERT_NE(box, nullptr) << run.arguments;
        const std::string text = MessageBoxText(box);
        EXPECT_NE(text.find(run.says), std::string::npos) << text;
        EXPECT_NE(text.find("退出代码"), std::string::npos) << text;
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
        EXPECT_EQ(setup.ExitCode(kWait), run.code) << run.arguments;
    }
    EXPECT_FALSE(Exists(kDefaultDest));
}

// Started the way a command prompt or a script starts it: unquoted, from a
// folder with double-byte names (one with the trail byte 0x5C).  The
// wizard comes; any second run meanwhile is refused, in a box or, unattended,
// with exit code 1618; the destination page refuses a system folder and
// asks about a drive's root.
TEST_F(WizardTest, UnquotedFromAChineseFolderAndAloneOnTheMachine) {
    const std::string disc = "C:\\安装光盘\xD5\x5C\\";
    extraCleanup_.push_back(disc);
    BuildMedium(disc);
    const std::string log = TempRoot() + "QuilmSecondRun.log";
    ASSERT_TRUE(setup_.StartCommand(disc + "Setup.exe"));
    ASSERT_NE(At(Page::kWelcome), nullptr);

    // Unattended, started unquoted too: its switches are understood, and
    // it stops at once without a window.
    ChildProcess quiet;
    ASSERT_TRUE(quiet.StartCommand(disc + "Setup.exe /VERYSILENT /LOG=" + log));
    std::string seen;
    EXPECT_TRUE(WaitUnseen(quiet, kWait, seen)) << seen;
    EXPECT_EQ(quiet.ExitCode(), 1618u);
    const std::string text = ReadLog(log);
    EXPECT_NE(text.find("another installation"), std::string::npos) << text;
    EXPECT_NE(text.find("exit code 1618"), std::string::npos) << text;
    ::DeleteFileA(log.c_str());
    // Interactive: a box says why.
    ChildProcess second;
    ASSERT_TRUE(second.Start(disc + "Setup.exe"));
    HWND box = WaitMessageBox(second.id(), kWait);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find("另一个安装或卸载程序正在运行"), std::string::npos)
        << MessageBoxText(box);
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_EQ(second.ExitCode(kWait), 1618u);
    EXPECT_FALSE(Exists(kDefaultDest));

    // The first one goes on: the Windows folder refused, the root of C:
    // asked about with No as the default; both keep the page.
    HWND path = GoToPathPage();
    ASSERT_NE(path, nullptr);
    const struct {
        const char* dest;
        const char* says;
        int answer;
    } refused[] = {{"C:\\windows", "是系统文件夹", IDOK},
                   {"C:\\Program Files", "是系统文件夹", IDOK},
                   {"C:\\Program Files (x86)\\", "是系统文件夹", IDOK},
                   {"C:\\Windows\\SysWOW64", "是系统文件夹", IDOK},
                   {" C:\\ ", "是驱动器的根文件夹", IDNO}};
    for (const auto& r : refused) {
        SetItemText(path, IDC_DEST_EDIT, r.dest);
        ClickNext(path);
        HWND question = Box();
        ASSERT_NE(question, nullptr) << r.dest;
        EXPECT_NE(MessageBoxText(question).find(r.says), std::string::npos)
            << MessageBoxText(question);
        if (r.answer == IDNO) {
            // No is the default: the button that has the focus.
            GUITHREADINFO gui = {};
            gui.cbSize = sizeof(gui);
            ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(question, NULL), &gui));
            EXPECT_EQ(gui.hwndFocus, ::GetDlgItem(question, IDNO)) << r.dest;
        }
        EXPECT_TRUE(AnswerMessageBox(question, r.answer));
        ASSERT_TRUE(Settled(path)) << r.dest;
        EXPECT_TRUE(::IsWindowVisible(path)) << r.dest;
        EXPECT_EQ(At(Page::kPath), path) << r.dest;
        EXPECT_EQ(FindPage(setup_.id(), Page::kCopy), nullptr) << r.dest;
    }
    EXPECT_FALSE(Exists("C:\\windows\\Support"));
    Click(path, IDCANCEL);
    AnswerQuit(IDYES);
    EXPECT_EQ(setup_.ExitCode(kWait), 2u);
}

}  // namespace
