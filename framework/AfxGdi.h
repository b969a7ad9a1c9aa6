// Device-context and drawing-object wrappers: rectangles, device contexts
// (owned, borrowed, paint and memory), bitmaps and regions.
#pragma once

#include <windows.h>

#include "AfxDebug.h"

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& rc) {
        left = rc.left;
        top = rc.top;
        right = rc.right;
        bottom = rc.bottom;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

// A GDI object owned by its wrapper: deleted by the destructor.  Attach
// and the Create functions take an object into an empty wrapper.
class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject();
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();

protected:
    HGDIOBJ m_hObject = NULL;
};

class CBitmap : public CGdiObject {
public:
    BOOL CreateCompatibleBitmap(HDC hdc, int width, int height) {
        return Attach(::CreateCompatibleBitmap(hdc, width, height));
    }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { Attach(::CreateSolidBrush(colour)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

// A device context.  The wrapper deletes a context it created
// (CreateCompatibleDC); an attached one is only let go.  Both take a
// context into an empty wrapper.
class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }

    BOOL CreateCompatibleDC(HDC hdc);
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL DeleteDC();

    // Drawing helpers (MFC names).  Objects are selected with
    // CSelectObject, which puts the previous one back.
    int SelectClipRgn(HRGN region) { return ::SelectClipRgn(m_hDC, region); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }
    void FillSolidRect(LPCRECT rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags) {
        return ::DrawEdge(m_hDC, rect, edge, flags);
    }
    int DrawText(LPCSTR text, int length, LPRECT rect, UINT format) {
        return ::DrawTextA(m_hDC, text, length, rect, format);
    }
    BOOL BitBlt(int x, int y, int cx, int cy, HDC source, int xSrc, int ySrc, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, cx, cy, source, xSrc, ySrc, rop);
    }
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
    POINT SetWindowOrg(int x, int y);

protected:
    HDC m_hDC = NULL;
    bool m_bOwned = false;
};

// BeginPaint / EndPaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

// GetDC / ReleaseDC of a window's client area, or of the screen for a
// NULL window.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND hWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// Keeps an object selected into a context for a scope and puts the
// previous object back at its end.  Select may come later than the
// construction, for an object made after the context.
class CSelectObject {
public:
    CSelectObject() = default;
    CSelectObject(HDC hdc, HGDIOBJ object) { Select(hdc, object); }
    ~CSelectObject() { Restore(); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

    void Select(HDC hdc, HGDIOBJ object) {
        Restore();
        m_hDC = hdc;
        m_hOld = ::SelectObject(hdc, object);
    }
    void Restore() {
        if (m_hOld) ::SelectObject(m_hDC, m_hOld);
        m_hOld = NULL;
    }

private:
    HDC m_hDC = NULL;
    HGDIOBJ m_hOld = NULL;
};
