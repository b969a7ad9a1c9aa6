// The framework layer: text files, directory enumeration, threads.
#include <gtest/gtest.h>

#include "framework/AfxWin.h"
#include "support/TestSupport.h"

using namespace quilmtest;
#include "framework/AfxFile.h"
#include "framework/AfxRun.h"

#include <string>
#include <vector>

TEST(StdioFile, TextModeTranslatesLineEnds) {
    TempDir dir("io");
    std::string path = dir / "t.txt";
    {
        CStdioFile f;
        f.Open(path.c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeText);
        f.WriteString("一\n二\n");
    }
    EXPECT_EQ(ReadBytes(path), "一\r\n二\r\n");
    CStdioFile f;
    f.Open(path.c_str(), CStdioFile::modeRead | CStdioFile::typeText);
    ULONGLONG length = f.GetLength();
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(f.ReadAll(length).str(), "一\n二\n");
}

TEST(StdioFile, MissingFileThrowsAFileError) {
    TempDir dir("io");
    CStdioFile f;
    try {
        f.Open((dir / "none.txt").c_str(), CStdioFile::modeRead | CStdioFile::typeText);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_NE(e.GetErrorMessage().str().find(dir / "none.txt"), std::string::npos);
        EXPECT_EQ(e.GetErrorMessage().str(), "未找到 " + (dir / "none.txt") + "。");
    }
}

TEST(FrameworkTexts, FileErrorsNameTheFile) {
    const struct {
        CFileException::Cause cause;
        const char* text;
    } cases[] = {
        {CFileException::none, "访问 F 时出现一个未指定的错误。"},
        {CFileException::genericException, "访问 F 时出现一个未指定的错误。"},
        {CFileException::fileNotFound, "未找到 F。"},
        {CFileException::badPath, "F 包含无效路径。"},
        {CFileException::tooManyOpenFiles, "因为打开文件过多，无法打开 F。"},
        {CFileException::accessDenied, "拒绝访问 F。"},
        {CFileException::invalidFile, "试图访问 F 时使用了无效的文件句柄。"},
        {CFileException::removeCurrentDir, "因为 F 是当前目录，不能将其删除。"},
        {CFileException::directoryFull, "因为目录已满，无法创建 F。"},
        {CFileException::badSeek, "在 F 上查找失败。"},
        {CFileException::hardIO, "访问 F 时遇到硬件 I/O 错误。"},
        {CFileException::sharingViolation, "访问 F 时遇到共享冲突。"},
        {CFileException::lockViolation, "试图锁定已锁定的 F 区域时遇到锁定冲突。"},
        {CFileException::diskFull, "写 F 时磁盘已满。"},
        {CFileException::endOfFile, "试图访问 F 时超过了文件尾。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFileException(c.cause, 0, "F").GetErrorMessage(), c.text) << c.cause;
}

TEST(FrameworkTexts, FailureNoticeCountsWhatItDoesNotList) {
    std::vector<std::string> items;
    for (int i = 0; i < 12; ++i) items.push_back("item" + std::to_string(i));
    const std::string notice = AfxFailureNotice("%d failed:", items);
    EXPECT_EQ(notice.compare(0, 18, "12 failed:\n\nitem0\n"), 0) << notice;
    EXPECT_NE(notice.find("item9\n... 另有 2 个\n"), std::string::npos) << notice;
    EXPECT_EQ(notice.find("item10"), std::string::npos) << notice;
}

TEST(FrameworkTexts, AStringTheTableLacksIsEmpty) {
    EXPECT_EQ(AfxLoadString(0x7FF0), "");
}

TEST(FileFind, LastEntryIsStillValid) {
    TempDir dir("ff");
    EXPECT_TRUE(WriteBytes(dir / "only.txt", "x"));
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((dir / "*.txt").c_str()));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(finder.GetFileName(), "only.txt");
    EXPECT_EQ(finder.GetFilePath().str(), dir / "only.txt");
    EXPECT_FALSE(finder.IsDirectory());
}

namespace {
class SendingThread : public CWinThread {
public:
    HWND target = NULL;
    BOOL InitInstance() override {
        for (int i = 0; i < 50; ++i) SendMessageA(target, WM_USER + 7, 0, 0);
        return FALSE;
    }
};
LRESULT CALLBACK CountProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 7) {
        SetWindowLongPtrA(h, GWLP_USERDATA, GetWindowLongPtrA(h, GWLP_USERDATA) + 1);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}
}  // namespace

TEST(WinThread, WaitForEndKeepsSentMessagesFlowing) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QuilmCountWnd";
    RegisterClassA(&wc);
    HWND wnd =
        CreateWindowA("QuilmCountWnd", "", WS_OVERLAPPED, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    SendingThread thread;
    thread.target = wnd;
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_FALSE(thread.CreateThread()) << "a thread object runs once";
    thread.WaitForEnd();  // would deadlock if it did not dispatch
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_USERDATA), 50);
    DWORD code = 1;
    GetExitCodeThread(thread.m_hThread, &code);
    EXPECT_EQ(code, 0u);
    DestroyWindow(wnd);
}
