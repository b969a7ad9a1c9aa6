// Helpers for the controls' window tests: dialogs built in memory and
// reading back what a window shows on the screen.  The message pump comes
// from the shared test support.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

using namespace quilmtest;

// An in-memory dialog template.
class DialogTemplate {
public:
    DialogTemplate(const char* title, int x, int y, int cx, int cy, DWORD style);
    void AddControl(const char* windowClass, const char* text, WORD id, int x, int y, int cx,
                    int cy, DWORD style);
    const DLGTEMPLATE* Get();

private:
    void AddWord(WORD w) { m_words.push_back(w); }
    void AddText(const char* text);
    void Align();
    std::vector<WORD> m_words;
    WORD* CountSlot() { return &m_words[4]; }
};

// A modeless dialog that reflects owner-draw requests to its controls and
// counts button clicks.
class TestDialog {
public:
    explicit TestDialog(DialogTemplate& tmpl);
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return ::GetDlgItem(m_hwnd, id); }
    int clicks = 0;
    int lastClickId = 0;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = NULL;
};

// What the client area of hwnd shows, as 0x00BBGGRR values, row by row
// from the top.
struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture CaptureClient(HWND hwnd);
// The same for a memory device context's area.
Capture CaptureDC(HDC hdc, int width, int height);

// A 32-bit memory surface to draw on.
class MemorySurface {
public:
    MemorySurface(int width, int height);
    ~MemorySurface();
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const;
    void Fill(COLORREF colour);

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
    int m_width, m_height;
};

// A top-level window painted in one solid colour, for controls that must
// not paint a background of their own.
class SolidParent {
public:
    SolidParent(COLORREF colour, int x, int y, int cx, int cy);
    ~SolidParent();
    HWND hwnd() const { return m_hwnd; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = NULL;
    HBRUSH m_brush;
};
