// The framework layer: text files, directory enumeration, threads.
#include <gtest/gtest.h>

#include "framework/AfxWin.h"
#include "support/TestSupport.h"

using namespace quilmtest;
#include "framework/AfxFile.h"

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
    }
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
