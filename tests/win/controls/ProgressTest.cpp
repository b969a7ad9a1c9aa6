// The percentage progress bar on a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "ControlsTestSupport.h"
#include "controls/PercentProgressCtrl.h"

namespace {

// A bare progress control (no border) with a client area of cx x cy.
HWND MakeBar(HWND parent, int x, int y, int cx, int cy) {
    return ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, x, y, cx, cy, parent,
                             NULL, ::GetModuleHandleA(NULL), NULL);
}

class ProgressTest : public ::testing::Test {
protected:
    ProgressTest() : parent(RGB(0, 128, 0), 20, 20, 500, 120) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&icc);
    }
    SolidParent parent;
};

TEST_F(ProgressTest, WithoutAWindow) {
    CPercentProgressCtrl bar;
    EXPECT_EQ(-1, bar.SetPos(10));
    EXPECT_EQ(0, bar.GetPos());
    EXPECT_EQ(-1, bar.StepIt());
    EXPECT_EQ(-1, bar.GetDrawnWidth());
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), bar.m_crBar);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), bar.m_crBack);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), bar.m_crTextOnBack);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), bar.m_crTextOnBar);
}

TEST_F(ProgressTest, FiftyPixelBarRepaintsOnlyWhenTheWidthChanges) {
    CPercentProgressCtrl bar;
    ASSERT_TRUE(bar.SubclassWindow(MakeBar(parent.hwnd(), 10, 10, 50, 20)));
    bar.SetRange(0, 100);
    bar.SetStep(1);
    EXPECT_EQ(0, bar.SetPos(0));  // the first SetPos always repaints
    EXPECT_EQ(1, bar.GetRepaintCount());
    EXPECT_EQ(0, bar.GetDrawnWidth());
    bar.StepIt();  // 1: width 0
    EXPECT_EQ(1, bar.GetRepaintCount());
    EXPECT_EQ(1, bar.StepIt());  // 2: width 1, returns the previous position
    EXPECT_EQ(2, bar.GetRepaintCount());
    EXPECT_EQ(1, bar.GetDrawnWidth());
    EXPECT_EQ("2%", bar.DisplayText());
    bar.StepIt();  // 3: trunc(1.5) = 1, no repaint
    EXPECT_EQ(2, bar.GetRepaintCount());
    EXPECT_EQ(3, bar.GetPos());
    bar.StepIt();  // 4: width 2
    EXPECT_EQ(3, bar.GetRepaintCount());
    EXPECT_EQ(2, bar.GetDrawnWidth());
    EXPECT_EQ("4%", bar.DisplayText());

    // Resizing forgets the drawn width: the next SetPos repaints.
    ::SetWindowPos(bar.m_hWnd, NULL, 0, 0, 60, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(-1, bar.GetDrawnWidth());
    bar.SetPos(4);
    EXPECT_EQ(4, bar.GetRepaintCount());
    EXPECT_EQ(2, bar.GetDrawnWidth());  // trunc(2.4)
}

TEST_F(ProgressTest, RangesTextsAndCustomText) {
    CPercentProgressCtrl bar;
    ASSERT_TRUE(bar.SubclassWindow(MakeBar(parent.hwnd(), 10, 10, 300, 20)));
    bar.SetRange(0, 3);
    bar.SetPos(2);
    EXPECT_EQ("66%", bar.DisplayText());
    EXPECT_EQ(200, bar.GetDrawnWidth());

    bar.SetRange(0, 100);
    bar.SetPos(120);
    EXPECT_EQ("120%", bar.DisplayText());
    EXPECT_EQ(360, bar.GetDrawnWidth());

    // An empty range neither divides by zero nor shows garbage.
    bar.SetRange(5, 5);
    bar.SetPos(7);
    EXPECT_EQ("0%", bar.DisplayText());
    EXPECT_EQ(0, bar.GetDrawnWidth());
    ::UpdateWindow(bar.m_hWnd);
    bar.SetRange(-2147483647 - 1, -2147483647);
    bar.SetPos(2147483647);
    EXPECT_EQ("429496729500%", bar.DisplayText());
    ::UpdateWindow(bar.m_hWnd);
    PumpMessages();

    // The window text replaces the percentage; an empty one brings it back.
    bar.SetRange(0, 100);
    bar.SetPos(30);
    ::SetWindowTextA(bar.m_hWnd, "正在复制");
    EXPECT_EQ("正在复制", bar.GetCustomText());
    EXPECT_EQ("正在复制", bar.DisplayText());
    char buffer[64] = {};
    EXPECT_EQ(8, ::GetWindowTextA(bar.m_hWnd, buffer, sizeof(buffer)));
    EXPECT_STREQ("正在复制", buffer);
    // A short buffer gets whole characters and a terminator.
    char small[6];
    std::memset(small, 'x', sizeof(small));
    EXPECT_EQ(
        4, ::SendMessageA(bar.m_hWnd, WM_GETTEXT, sizeof(small), reinterpret_cast<LPARAM>(small)));
    EXPECT_STREQ("正在", small);
    ::SetWindowTextA(bar.m_hWnd, "");
    EXPECT_EQ("", bar.GetCustomText());
    EXPECT_EQ("30%", bar.DisplayText());
    ::SetWindowTextA(bar.m_hWnd, "abc");
    ::SendMessageA(bar.m_hWnd, WM_SETTEXT, 0, 0);
    EXPECT_EQ("", bar.GetCustomText());

    bar.EnableText(0);
    EXPECT_EQ(0, bar.IsTextEnabled());
}

// Pixels of the bar after painting.
Capture PaintAndCapture(CPercentProgressCtrl& bar) {
    ::RedrawWindow(bar.m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    return CaptureClient(bar.m_hWnd);
}

int Count(const Capture& c, int x0, int x1, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = x0; x < x1; ++x) n += c.At(x, y) == colour;
    return n;
}

TEST_F(ProgressTest, TextChangesColourAtTheBarsEdge) {
    CPercentProgressCtrl bar;
    ASSERT_TRUE(bar.SubclassWindow(MakeBar(parent.hwnd(), 10, 10, 396, 24)));
    // Distinct colours, so every pixel tells which fill or text it is.
    bar.m_crBar = RGB(0, 0, 160);
    bar.m_crBack = RGB(255, 255, 255);
    bar.m_crTextOnBar = RGB(255, 255, 0);
    bar.m_crTextOnBack = RGB(200, 0, 0);
    bar.SetRange(0, 100);
    bar.SetPos(50);
    ASSERT_EQ(198, bar.GetDrawnWidth());
    ::SetWindowTextA(bar.m_hWnd, "MMMMMMMMMMMMMMMM");  // wide text across the edge
    Capture c = PaintAndCapture(bar);
    ASSERT_EQ(396, c.width);

    // Left of the edge only bar and on-bar text colours, right of it only
    // background and on-background colours (blends of the two allowed).
    EXPECT_GT(Count(c, 0, 198, RGB(255, 255, 0)), 10);
    EXPECT_EQ(0, Count(c, 0, 198, RGB(200, 0, 0)));
    EXPECT_EQ(0, Count(c, 0, 198, RGB(255, 255, 255)));
    EXPECT_GT(Count(c, 198, 396, RGB(200, 0, 0)), 10);
    EXPECT_EQ(0, Count(c, 198, 396, RGB(255, 255, 0)));
    EXPECT_EQ(0, Count(c, 198, 396, RGB(0, 0, 160)));
    // Text on both sides right at the edge.
    EXPECT_GT(Count(c, 188, 198, RGB(255, 255, 0)), 0);
    EXPECT_GT(Count(c, 198, 208, RGB(200, 0, 0)), 0);
    // Away from the text the fills are plain.
    EXPECT_EQ(RGB(0, 0, 160), c.At(2, 1));
    EXPECT_EQ(RGB(255, 255, 255), c.At(393, c.height - 2));

    // Without text only the two fills remain.
    bar.EnableText(0);
    c = PaintAndCapture(bar);
    EXPECT_EQ(198 * c.height, Count(c, 0, 198, RGB(0, 0, 160)));
    EXPECT_EQ(198 * c.height, Count(c, 198, 396, RGB(255, 255, 255)));

    // The percentage with the system colours, the default look.
    bar.EnableText(1);
    ::SetWindowTextA(bar.m_hWnd, "");
    c = PaintAndCapture(bar);
    EXPECT_GT(Count(c, 150, 198, RGB(255, 255, 0)), 0);  // "50%" starts over the bar
    EXPECT_GT(Count(c, 198, 250, RGB(200, 0, 0)), 0);    // and ends beside it
}

TEST_F(ProgressTest, EmptyRangePaintsNothing) {
    CPercentProgressCtrl bar;
    ASSERT_TRUE(bar.SubclassWindow(MakeBar(parent.hwnd(), 10, 10, 100, 20)));
    bar.m_crBar = RGB(0, 0, 160);
    bar.m_crBack = RGB(255, 255, 255);
    bar.SetRange(0, 100);
    bar.SetPos(50);
    Capture before = PaintAndCapture(bar);
    EXPECT_EQ(RGB(0, 0, 160), before.At(1, 1));
    bar.SetRange(10, 10);
    Capture after = PaintAndCapture(bar);
    EXPECT_EQ(RGB(0, 0, 160), after.At(1, 1));  // left as it was
    RECT update;
    EXPECT_FALSE(::GetUpdateRect(bar.m_hWnd, &update, FALSE));  // and validated
}

}  // namespace
