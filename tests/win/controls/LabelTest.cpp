// The colour label: text without a background, with and without shadow.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/ColorLabel.h"

namespace {

const COLORREF kBackground = RGB(255, 0, 255);

HWND MakeLabel(HWND parent, const char* text, int x, int y, int cx, int cy) {
    HWND hwnd = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER, x, y, cx,
                                  cy, parent, NULL, ::GetModuleHandleA(NULL), NULL);
    ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
    return hwnd;
}

bool IsDark(COLORREF c) {
    return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
}
bool IsShadowGrey(COLORREF c) {
    return GetRValue(c) == 208 && GetGValue(c) == 208 && GetBValue(c) == 208;
}

struct Tally {
    int background = 0, dark = 0, shadow = 0, other = 0;
};

Tally Count(const Capture& c) {
    Tally t;
    for (COLORREF p : c.pixels) {
        if (p == kBackground) ++t.background;
        else if (IsDark(p)) ++t.dark;
        else if (IsShadowGrey(p)) ++t.shadow;
        else ++t.other;
    }
    return t;
}

Capture Paint(HWND hwnd) {
    ::RedrawWindow(::GetParent(hwnd), NULL, NULL,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    return CaptureClient(hwnd);
}

TEST(ColorLabel, SetShadowReturnsThePreviousFlag) {
    CColorLabel label;
    EXPECT_EQ(0, label.SetShadow(1));
    EXPECT_EQ(1, label.SetShadow(0));
    EXPECT_EQ(RGB(208, 208, 208), label.m_crShadow);
    EXPECT_EQ(RGB(0, 0, 0), label.m_crText);
    EXPECT_EQ(3, label.m_nShadowDx);
    EXPECT_EQ(3, label.m_nShadowDy);
}

TEST(ColorLabel, PaintsNoBackground) {
    SolidParent parent(kBackground, 30, 30, 400, 120);
    // A plain static control fills its background: the test can tell.
    HWND plain = MakeLabel(parent.hwnd(), "Plain static text", 10, 10, 300, 30);
    Tally standard = Count(Paint(plain));
    EXPECT_EQ(0, standard.background);

    CColorLabel label;
    ASSERT_TRUE(
        label.SubclassWindow(MakeLabel(parent.hwnd(), "Quilm V8.5 title line", 10, 60, 300, 30)));
    Capture c = Paint(label.m_hWnd);
    Tally t = Count(c);
    EXPECT_GT(t.background, c.width * c.height / 2);
    EXPECT_GT(t.dark, 10);
    EXPECT_EQ(0, t.shadow);
    // Left-aligned from the top, whatever the static's own alignment: the
    // first text pixels are near the left edge.
    int firstDarkColumn = c.width;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (IsDark(c.At(x, y)) && x < firstDarkColumn) firstDarkColumn = x;
    EXPECT_LT(firstDarkColumn, 10);
}

TEST(ColorLabel, ShadowThreePixelsRightAndDown) {
    SolidParent parent(kBackground, 30, 30, 400, 120);
    CColorLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeLabel(parent.hwnd(), "IIII LLLL", 10, 10, 300, 40)));
    label.SetShadow(1);
    Capture c = Paint(label.m_hWnd);
    Tally t = Count(c);
    EXPECT_GT(t.background, c.width * c.height / 2);
    EXPECT_GT(t.dark, 10);
    EXPECT_GT(t.shadow, 10);
    // Every shadow pixel sits 3 pixels right and down of where the text's
    // shape would be: the text pixel at (x, y) casts (x + 3, y + 3) unless
    // the text itself covers that spot.
    int cast = 0, uncovered = 0;
    for (int y = 0; y + 3 < c.height; ++y)
        for (int x = 0; x + 3 < c.width; ++x)
            if (IsDark(c.At(x, y))) {
                const COLORREF below = c.At(x + 3, y + 3);
                if (IsShadowGrey(below)) ++cast;
                else if (below == kBackground) ++uncovered;
            }
    EXPECT_GT(cast, 10);
    EXPECT_EQ(0, uncovered);
}

}  // namespace
