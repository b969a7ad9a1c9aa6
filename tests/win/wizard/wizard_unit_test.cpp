// The wizard's parts that can be tested without driving Setup.exe: the
// agreement text, the copy page's file count, the slide list and the
// slide canvas, the folder picker's title.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "framework/AfxRes.h"
#include "framework/AfxRun.h"
#include "resources/setup/resource.h"
#include "support/Boxes.h"
#include "support/Wizard.h"
#include "UiDriver.h"
#include "setup/CopyPage.h"
#include "setup/FolderPicker.h"
#include "setup/SetupDlg.h"

using namespace quilmtest;

namespace {

std::string Fresh(const char* name) {
    std::string dir = TempRoot() + name + "\\";
    RemoveTree(dir);
    ::CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}

}  // namespace

// The agreement box has no word wrap: every line ends with CR LF and holds
// at most 27 characters of code page 936; the title and the paragraphs
// are indented with full-width spaces (U+3000, A1 A1), and a blank line
// comes before each numbered section and before the closing paragraph.
TEST(LicenseText, HasTheShapeOfTheAgreementBox) {
    const std::string text = AfxLoadString(IDS_LICENSE_TEXT).str();
    auto spaces = [](int count) {  // full-width spaces, U+3000
        std::string text;
        while (count-- > 0) text += "\xA1\xA1";
        return text;
    };
    const std::string indent = spaces(2);
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    int blank = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "line " << i + 1;
        wchar_t wide[128];
        int chars = ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, line.c_str(),
                                          static_cast<int>(line.size()), wide, 128);
        EXPECT_TRUE(line.empty() || chars > 0) << "line " << i + 1 << " is not code page 936";
        EXPECT_LE(chars, 27) << "line " << i + 1;
        if (!line.empty()) continue;
        ++blank;
        // A blank line parts two pieces of text: a heading or an indented
        // paragraph follows.
        ASSERT_LT(i + 1, lines.size()) << "the text ends with a blank line";
        EXPECT_FALSE(lines[i + 1].empty()) << "line " << i + 2;
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), spaces(9) + "最终用户许可协议");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], indent + "重要提示：请在安装本软件之前仔细阅读本协议。");
    EXPECT_EQ(lines[lines.size() - 2], indent + "选择“同意”表示您已阅读并接受上述全部条款，");
    EXPECT_EQ(lines.back(), "并同意受其约束。");
    // Each numbered section: a heading line of its own after a blank line,
    // its paragraph indented.
    const char* const headings[] = {"一、许可范围", "二、使用限制", "三、知识产权", "四、免责声明",
                                    "五、责任限制", "六、协议终止", "七、其他"};
    size_t at = 0;
    for (const char* heading : headings) {
        while (at < lines.size() && lines[at] != heading) ++at;
        ASSERT_LT(at + 1, lines.size()) << heading;
        EXPECT_EQ(lines[at - 1], "") << heading;
        EXPECT_EQ(lines[at + 1].compare(0, 4, indent), 0) << heading;
    }
    // Pinned from resources/setup/Setup.rc: the IDS_LICENSE_TEXT pieces
    // joined, "\r\n" as two bytes, encoded with Python's "gbk" codec and
    // measured with len(), the lines counted by splitting at CR LF; the
    // blank lines are the one after the title, the seven before the
    // headings and the one before the closing paragraph.
    EXPECT_EQ(text.size(), 1923u);
    EXPECT_EQ(lines.size(), 58u);
    EXPECT_EQ(blank, 9);
}

TEST(SetupTexts, TheStringTableHoldsTheProgramsTexts) {
    EXPECT_EQ(AfxLoadString(IDS_BROWSE_TITLE), "请选择安装路径:");
    EXPECT_EQ(AfxLoadString(IDS_WIZARD_TITLE), "Quilm V8.5 安装向导");
    EXPECT_EQ(AfxLoadString(IDS_QUIT_QUESTION), "真要退出安装程序吗?");
    EXPECT_EQ(AfxLoadString(IDS_REINSTALL_QUESTION), "已经安装了本软件!\n是否重新安装?");
    EXPECT_EQ(AfxLoadString(IDS_REINSTALL_CAPTION), "警告");
    EXPECT_EQ(AfxLoadString(IDS_CONFIGURING), "正在配置系统, 请稍候...");
    EXPECT_EQ(AfxLoadString(IDS_FILES_NOT_COPIED), "有 %d 个文件未能复制:");
    EXPECT_EQ(AfxLoadString(IDS_ITEMS_FAILED), "有 %d 个项目未能完成:");
    EXPECT_EQ(AfxLoadString(IDS_FAILED_CONTROL), "控件未能注册: %s");
    EXPECT_EQ(AfxLoadString(IDS_DEST_CAPTION), "安装路径");
    EXPECT_EQ(AfxLoadString(IDS_CANCEL_QUESTION),
              "安装没有完成。 如果现在退出安装程序，则不会安装或卸载您请求添加/删除的组件。\n\n"
              "可以稍后再运行安装程序来完成此操作。\n\n真要退出安装程序吗？");
    EXPECT_EQ(AfxLoadString(IDS_PROMPT_NO_SOURCE),
              "%s\n找不到安装文件的路径 %s，\n点击“重试”按钮试图重新查找该安装文件路径；\n"
              "点击“忽略”按钮将跳过该路径下的操作并继续执行；\n点击“取消”按钮将终止程序运行。");
    EXPECT_EQ(AfxLoadString(IDS_PROMPT_NO_FOLDER),
              "%s\n不能创建文件夹 %s ，\n点击“重试”按钮试图重新创建文件夹；\n"
              "点击“取消”按钮将终止程序运行。");
    EXPECT_EQ(AfxLoadString(AFX_IDS_COMMAND_LINE_HELP),
              "Setup.exe [/SILENT | /VERYSILENT] [/DIR=\"文件夹\"] [/LOG=\"文件\"]\n\n"
              "/SILENT\t不提问, 只显示进度\n"
              "/VERYSILENT\t不显示任何窗口\n"
              "/DIR\t安装文件夹 (完整路径)\n"
              "/LOG\t诊断日志文件 (默认在 %TEMP% 中)\n"
              "/? 或 /HELP\t显示本说明\n\n"
              "退出代码: 0 完成; 1 参数错误; 2 用户取消; 3 完成, 但有些项目失败 (见日志); 4 失败; "
              "1618 另一个安装程序正在运行, 请稍后再试; 3010 完成, 重新启动计算机后生效");
    EXPECT_EQ(AfxLoadString(AFX_IDS_ANOTHER_RUNNING),
              "另一个安装或卸载程序正在运行。\n\n请等它结束后再运行本程序。");
    // The framework's texts come with the program's.
    EXPECT_EQ(AfxLoadString(AFX_IDS_LOG_LEAD), "全部列在日志中:");
}

TEST(SetupTexts, CommandLineFaultsAreWordedAndHelpListsOnlyTheProgramsSwitches) {
    EXPECT_EQ(AfxCommandLineError(ParseCommandLine("/SILENT", true)), "");
    EXPECT_EQ(AfxCommandLineError(ParseCommandLine("/x /DIR=a", true)), "无法识别的参数: /x");
    EXPECT_NE(AfxCommandLineError(ParseCommandLine("/x /DIR=a", true)).str().find("/x"),
              std::string::npos);
    EXPECT_EQ(AfxCommandLineError(ParseCommandLine("/DIR=Quilm", true)),
              "/DIR 需要一个完整的路径 (例如 D:\\Quilm): Quilm");
    EXPECT_EQ(AfxCommandLineError(ParseCommandLine("/DIR=100%s", true)),
              "/DIR 需要一个完整的路径 (例如 D:\\Quilm): 100%s");
    const std::string setup = AfxLoadString(AFX_IDS_COMMAND_LINE_HELP).str();
    for (const char* name : {"/SILENT", "/VERYSILENT", "/LOG", "/HELP"})
        EXPECT_NE(setup.find(name), std::string::npos) << name;
    EXPECT_NE(setup.find("/DIR"), std::string::npos);
    for (const char* code : {"0 ", "1 ", "2 ", "3 ", "4 "})
        EXPECT_NE(setup.find(code), std::string::npos) << code;
}

TEST(CopyPage, CountsPlainFilesOfTheNinePackageFolders) {
    std::string medium = Fresh("QuilmCountMedium");
    MediumOptions options;
    options.extraFiles = 5;
    int built = BuildMedium(medium, options);
    // Files outside the nine folders and in the picture folder don't count.
    EXPECT_EQ(CCopyPage::CountPackageFiles(medium.c_str()), built);
    EXPECT_EQ(built, 9 * 3 + 5);
    EXPECT_EQ(CCopyPage::CountFiles((medium + "Support").c_str()), 3);
    EXPECT_EQ(CCopyPage::CountFiles(("  " + medium + "Support\\  ").c_str()), 3);
    EXPECT_EQ(CCopyPage::CountFiles((medium + "Missing").c_str()), 0);
    EXPECT_EQ(CCopyPage::CountFiles(""), 0);
    EXPECT_EQ(CCopyPage::CountFiles("   "), 0);
    MediumOptions without;
    without.missingFolder = "图框";
    EXPECT_EQ(BuildMedium(medium, without), 8 * 3);
    EXPECT_EQ(CCopyPage::CountPackageFiles(medium.c_str()), 8 * 3);
    RemoveTree(medium);
}

TEST(SlideList, ListsPlainJpegFilesAndKeepsTheCurrentDirectory) {
    std::string dir = Fresh("QuilmSlides");
    WriteBytes(dir + "one.jpg", "x");
    WriteBytes(dir + "两.jpg", "x");
    WriteBytes(dir + "note.txt", "x");
    ::CreateDirectoryA((dir + "folder.jpg").c_str(), NULL);
    std::string before = CurrentDirectory();
    CStringArray files;
    files.Add("stale");
    CSetupDlg::BuildSlideList(dir.c_str(), "*.jpg", files);
    EXPECT_EQ(CurrentDirectory(), before);
    ASSERT_EQ(files.GetSize(), 2);
    std::vector<std::string> paths;
    for (int i = 0; i < files.GetSize(); ++i) {
        std::string path = files[i].str();
        EXPECT_EQ(path.compare(0, dir.size(), dir), 0) << path;
        paths.push_back(path);
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{dir + "one.jpg", dir + "两.jpg"}));
    CSetupDlg::BuildSlideList((dir + "nowhere\\").c_str(), "*.jpg", files);
    EXPECT_EQ(files.GetSize(), 0);
    EXPECT_EQ(CurrentDirectory(), before);
    RemoveTree(dir);
}

namespace {

// Loads a slide onto a canvas and reads pixels back.
struct Canvas {
    HBITMAP bitmap = NULL;
    HDC dc = NULL;
    HGDIOBJ old = NULL;
    explicit Canvas(const std::string& path) {
        HDC screen = ::GetDC(NULL);
        bitmap = CSetupDlg::LoadSlide(screen, path.c_str());
        dc = ::CreateCompatibleDC(screen);
        ::ReleaseDC(NULL, screen);
        if (bitmap) old = ::SelectObject(dc, bitmap);
    }
    ~Canvas() {
        if (bitmap) {
            ::SelectObject(dc, old);
            ::DeleteObject(bitmap);
        }
        ::DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
};

bool Near(COLORREF c, int r, int g, int b) {
    return abs(GetRValue(c) - r) < 40 && abs(GetGValue(c) - g) < 40 && abs(GetBValue(c) - b) < 40;
}

}  // namespace

TEST(LoadSlide, WidePictureGetsWhiteBarsAboveAndBelow) {
    ::OleInitialize(NULL);
    // 320 x 180: ratio 0.5625, drawn at y 96..671.
    Canvas c(HostToWine(std::string(QUILM_TEST_DATA) + "/wide_16x9.jpg"));
    ASSERT_NE(c.bitmap, nullptr);
    BITMAP info = {};
    ::GetObjectA(c.bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 1024);
    EXPECT_EQ(info.bmHeight, 768);
    EXPECT_EQ(c.At(0, 0), RGB(192, 192, 192));      // frame
    EXPECT_EQ(c.At(512, 50), RGB(255, 255, 255));   // bar above
    EXPECT_EQ(c.At(512, 720), RGB(255, 255, 255));  // bar below
    EXPECT_NE(c.At(512, 384), RGB(255, 255, 255));  // the picture
    EXPECT_EQ(c.At(512, 767), RGB(192, 192, 192));
}

TEST(LoadSlide, TallPictureIsCentredWithBarsLeftAndRight) {
    ::OleInitialize(NULL);
    // 100 x 200: ratio 2, 384 wide at x 320.
    Canvas c(HostToWine(std::string(QUILM_TEST_DATA) + "/tall_1x2.jpg"));
    ASSERT_NE(c.bitmap, nullptr);
    EXPECT_EQ(c.At(100, 384), RGB(255, 255, 255));
    EXPECT_EQ(c.At(900, 384), RGB(255, 255, 255));
    EXPECT_TRUE(Near(c.At(330, 20), 0x2e, 0x86, 0xc1));
    EXPECT_TRUE(Near(c.At(512, 384), 255, 255, 255));  // the white circle
}

TEST(LoadSlide, FourByThreeFillsTheCanvasFrameIncluded) {
    ::OleInitialize(NULL);
    // 384 x 288 pixels are exactly 10160 x 7620 HIMETRIC units: ratio 0.75.
    Canvas c(HostToWine(std::string(QUILM_TEST_DATA) + "/wide_4x3.jpg"));
    ASSERT_NE(c.bitmap, nullptr);
    EXPECT_TRUE(Near(c.At(0, 0), 0xc0, 0x39, 0x2b));
    EXPECT_TRUE(Near(c.At(1023, 767), 0xc0, 0x39, 0x2b));
    EXPECT_TRUE(Near(c.At(512, 384), 0xf1, 0xc4, 0x0f));
}

TEST(LoadSlide, NotAPictureGivesNone) {
    ::OleInitialize(NULL);
    std::string dir = Fresh("QuilmBadSlide");
    WriteBytes(dir + "bad.jpg", "this is no picture");
    Canvas bad(dir + "bad.jpg");
    EXPECT_EQ(bad.bitmap, nullptr);
    Canvas missing(dir + "missing.jpg");
    EXPECT_EQ(missing.bitmap, nullptr);
    RemoveTree(dir);
}

TEST(FolderPicker, TitleComesFromTheStringTable) {
    CFolderPicker picker(NULL, nullptr, 103);
    EXPECT_EQ(picker.GetPath(), CString(""));
    EXPECT_TRUE(picker.SetTitle(103));
    EXPECT_FALSE(picker.SetTitle(0));
    EXPECT_FALSE(picker.SetTitle(-5));
    EXPECT_FALSE(picker.SetTitle(9999));
    EXPECT_EQ(picker.GetDialogWindow(), nullptr);
}

TEST(SetupDlg, InstalledCheckLooksOnlyAtTheValue) {
    RemoveKeyTree(HKEY_LOCAL_MACHINE, kProductKey);
    EXPECT_FALSE(CSetupDlg::IsInstalled());
    // Probing left the key behind, empty.
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath", ""));
    EXPECT_TRUE(CSetupDlg::IsInstalled());
    // A value longer than any buffer still means installed.
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath", std::string(3000, 'x')));
    EXPECT_TRUE(CSetupDlg::IsInstalled());
    RemoveInstallation("");
}

namespace {

// Counts the dialog windows (message boxes among them) made on the thread
// that installed it, the page's thread.  While answering is set, each new
// one is answered at once, No or else Cancel, so that a box that should
// not have come is noted and cannot hold the test.
class DialogWatch {
public:
    DialogWatch() { s_hook = ::SetWindowsHookExA(WH_CBT, &Proc, NULL, ::GetCurrentThreadId()); }
    ~DialogWatch() { ::UnhookWindowsHookEx(s_hook); }
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;
    bool ok() const { return s_hook != NULL; }
    static int Made() { return s_made; }
    static void Answer(bool on) { s_answering = on; }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        char cls[16] = {0};
        if (code == HCBT_CREATEWND && ::GetClassNameA(hwnd, cls, sizeof(cls)) &&
            lstrcmpA(cls, "#32770") == 0) {
            ++s_made;
            // Taken from the queue once its own message loop runs.
            if (s_answering) {
                ::PostMessageA(hwnd, WM_COMMAND, IDNO, 0);
                ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
            }
        }
        return ::CallNextHookEx(NULL, code, wParam, lParam);
    }
    static inline HHOOK s_hook = NULL;
    static inline std::atomic<int> s_made{0};
    static inline std::atomic<bool> s_answering{false};
};

}  // namespace

// The copy page in this process, its job held in the missing-folder prompt
// while the test sends it the job's messages and the user's commands.
TEST(CopyPage, HandlesTheJobsMessagesAndTheUsersCommands) {
    std::string source = Fresh("QuilmEmptyMedium");
    std::string dest = Fresh("QuilmCopyPageDest");
    CCopyPage page(nullptr);
    WizardData data;
    data.strSourceDir = "  " + source.substr(0, source.size() - 1);  // trimmed, "\" added
    data.strDestDir = dest;
    page.Load(data);
    DialogWatch dialogs;
    ASSERT_TRUE(dialogs.ok());

    // Each starts with what a driver that never got there leaves.
    struct Seen {
        std::string line, configuringText;
        bool stayedAfterEnter = false, stayedAfterNo = false, questionShown = false;
        bool configuringShown = false, barHidden = false, groupHidden = false,
             cancelDisabled = false;
        bool cancelReturned = false, lineEmptied = false, backDisabled = false;
        bool nextDisabled = false;
        int questionBoxes = -1, boxesWhenConfiguring = -1;
    } seen;

    std::thread driver([&] {
        using namespace uidriver;
        HWND window = WaitPage(::GetCurrentProcessId(), Page::kCopy);
        if (!window) return;
        seen.backDisabled = !IsItemEnabled(window, IDC_BACK);
        seen.nextDisabled = !IsItemEnabled(window, IDC_NEXT);
        HWND prompt = WaitOwnBox("找不到安装文件的路径", kWait);
        if (!prompt) {
            ::PostMessageA(window, WM_SETUP_FAILED, 0, 0);
            return;
        }
        std::string entry = dest + "Support\\子目录\\a.txt";
        ::SendMessageA(window, WM_SETUP_PROGRESS, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        seen.line = GetItemText(window, IDC_COPY_ITEM);
        ::SendMessageA(window, WM_COMMAND, IDOK, 0);
        seen.stayedAfterEnter = ::IsWindow(window) && ::IsWindowVisible(window);
        int made = DialogWatch::Made();
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        HWND question = WaitOwnBox("真要退出安装程序吗？", kWait);
        seen.questionShown = question != NULL;
        seen.questionBoxes = DialogWatch::Made() - made;
        if (question) AnswerMessageBox(question, IDNO);
        // Through the page's thread once more: its cancel handler is over.
        ::SendMessageA(window, WM_NULL, 0, 0);
        seen.stayedAfterNo = ::IsWindow(window) && ::IsWindowVisible(window);
        ::SendMessageA(window, WM_SETUP_CONFIGURING, 0, 0);
        seen.configuringShown = IsItemVisible(window, IDC_CONFIGURING);
        seen.configuringText = GetItemText(window, IDC_CONFIGURING);
        seen.barHidden = !IsItemVisible(window, IDC_PROGRESS);
        seen.groupHidden = !IsItemVisible(window, IDC_COPY_GROUP);
        seen.lineEmptied = GetItemText(window, IDC_COPY_ITEM).empty();
        seen.cancelDisabled = !IsItemEnabled(window, IDCANCEL);
        // Configuring: a cancel asks nothing; a question would have been
        // made on the page's thread before the send returned.
        made = DialogWatch::Made();
        DialogWatch::Answer(true);
        ::SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
        seen.boxesWhenConfiguring = DialogWatch::Made() - made;
        DialogWatch::Answer(false);
        seen.cancelReturned = ::IsWindow(window) && ::IsWindowVisible(window);
        // Abort at the job's prompt: the job reports the stop.
        AnswerMessageBox(prompt, IDABORT);
    });
    INT_PTR result = page.DoModal();
    driver.join();

    EXPECT_EQ(result, 0x3025);  // ID_WIZFINISH
    EXPECT_TRUE(seen.backDisabled);
    EXPECT_TRUE(seen.nextDisabled);
    EXPECT_EQ(seen.line, "Support\\子目录\\a.txt ...");
    EXPECT_TRUE(seen.stayedAfterEnter);
    EXPECT_TRUE(seen.questionShown);
    // The watch sees a question made on the page's thread.
    EXPECT_EQ(seen.questionBoxes, 1);
    EXPECT_TRUE(seen.stayedAfterNo);
    EXPECT_TRUE(seen.configuringShown);
    EXPECT_EQ(seen.configuringText, "正在配置系统, 请稍候...");
    EXPECT_TRUE(seen.barHidden);
    EXPECT_TRUE(seen.groupHidden);
    EXPECT_TRUE(seen.lineEmptied);
    EXPECT_TRUE(seen.cancelDisabled);
    EXPECT_EQ(seen.boxesWhenConfiguring, 0);
    EXPECT_TRUE(seen.cancelReturned);
    // Normalised folders, given back to the wizard.
    EXPECT_EQ(page.m_strSourceDir, CString(source.c_str()));
    EXPECT_EQ(page.m_strDestDir, CString(dest.c_str()));
    WizardData back;
    page.Store(back);
    EXPECT_EQ(back.strSourceDir, source);
    // Stopped at the first folder: nothing of the record was written.
    EXPECT_FALSE(FileExists(dest + "Uninstall.log"));
    RemoveTree(source);
    RemoveTree(dest);
}
