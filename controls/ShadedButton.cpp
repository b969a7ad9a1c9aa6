#include "ShadedButton.h"

#include <commctrl.h>

CShadedButton::CShadedButton() : m_crText(::GetSysColor(COLOR_BTNTEXT)) {}

CShadedButton::~CShadedButton() = default;

// Attaching: classify the button from its template style and take over
// its drawing.
void CShadedButton::PreSubclassWindow() {
    const DWORD style = GetStyle();
    m_bPushLike = (style & BS_PUSHLIKE) != 0;
    m_bFlat = (style & BS_FLAT) != 0;

    UINT align = DT_CENTER;
    switch (style & 0x300) {
    case BS_LEFT: align = DT_LEFT; break;
    case BS_RIGHT: align = DT_RIGHT; break;
    default: break;
    }
    m_nTextFormat = align | DT_VCENTER | DT_SINGLELINE;

    const DWORD type = style & 0xFF;
    if ((type & 0x3) == 0x3) {
        m_nKind = KindCheckBox;
    } else if ((type & 0x9) == 0x9) {
        m_nKind = KindRadio;
    } else {
        m_nKind = KindPush;
        m_bPushLike = true;
    }
    if (!m_bPushLike) m_nFrame = 0;

    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
}

void CShadedButton::GenerateFaces(uint32_t style, int grain, int hoverLight, int tintPercent,
                                  COLORREF tintColour) {
    RECT rc = {0, 0, 0, 0};
    if (m_hWnd) GetWindowRect(&rc);
    ShadeRequest request;
    request.style = style;
    request.grain = grain;
    request.hoverLight = hoverLight;
    request.tintPercent = tintPercent;
    request.tintColour = tintColour;
    ShadeColours colours;
    colours.highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    colours.face = ::GetSysColor(COLOR_BTNFACE);
    colours.shadow = ::GetSysColor(COLOR_BTNSHADOW);
    GenerateShadedFaces(m_faces, request, rc.right - rc.left, rc.bottom - rc.top, m_nFocusInset,
                        colours, ProgramRandom());
}

// Messages

LRESULT CShadedButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return TRUE;  // the face covers everything
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case WM_LBUTTONDBLCLK:
        // A fast second click is a second press.
        SendMessage(WM_LBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_KILLFOCUS: return OnKillFocus(wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case WM_MOUSELEAVE:
        m_bHover = false;
        Invalidate(TRUE);
        return 0;
    case UM_UNCHECK:
        if (m_bCheck) {
            m_bCheck = false;
            Invalidate(TRUE);
        }
        return 0;
    case BM_SETCHECK: return OnSetCheck(wParam);
    case BM_GETCHECK: return m_bCheck ? 1 : 0;
    case WM_REFLECT_DRAWITEM_MSG:
        if (!lParam) return FALSE;
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    default: return CButton::WindowProc(message, wParam, lParam);
    }
}

BOOL CShadedButton::IsUnderPoint(POINT screenPoint) const {
    return ::WindowFromPoint(screenPoint) == m_hWnd;
}

BOOL CShadedButton::IsPushedState() const {
    return (GetState() & BST_PUSHED) != 0;
}

void CShadedButton::ToggleFromUser() {
    if (m_nKind == KindCheckBox) SendMessage(BM_SETCHECK, m_bCheck ? FALSE : TRUE);
    else if (m_nKind == KindRadio) SendMessage(BM_SETCHECK, TRUE);
}

LRESULT CShadedButton::OnLButtonDown(WPARAM, LPARAM) {
    if (m_bHover) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_CANCEL | TME_LEAVE, m_hWnd, 0};
        if (::_TrackMouseEvent(&tme)) m_bHover = false;
    }
    LRESULT result = Default();
    m_bButtonDown = true;
    return result;
}

LRESULT CShadedButton::OnLButtonUp(WPARAM, LPARAM lParam) {
    if (m_nKind != KindPush) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &pt);
        if (IsUnderPoint(pt) && m_bButtonDown) ToggleFromUser();
    }
    m_bButtonDown = false;
    return Default();
}

LRESULT CShadedButton::OnMouseMove(WPARAM, LPARAM lParam) {
    if (m_bButtonDown && ::GetCapture() == m_hWnd) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &pt);
        const BOOL inside = IsUnderPoint(pt);
        if (inside != IsPushedState()) {
            SendMessage(BM_SETSTATE, inside);
            Invalidate(TRUE);
        }
    } else if (!m_bHover) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        if (::_TrackMouseEvent(&tme)) {
            m_bHover = true;
            Invalidate(TRUE);
        }
    }
    return Default();
}

LRESULT CShadedButton::OnKillFocus(WPARAM, LPARAM) {
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
        m_bButtonDown = false;
    }
    return Default();
}

LRESULT CShadedButton::OnKeyDown(WPARAM wParam, LPARAM) {
    if (m_nKind != KindPush && wParam == VK_SPACE) ToggleFromUser();
    return Default();
}

LRESULT CShadedButton::OnSetCheck(WPARAM wParam) {
    m_bCheck = wParam != 0;
    if (m_nKind == KindPush) m_bCheck = false;
    if (m_nKind == KindRadio && m_bCheck) {
        // Uncheck the rest of the group.  The walk stops where it started;
        // it also stops when it comes round to its first partner again,
        // as it does when this button itself is hidden or disabled and so
        // never comes back.
        HWND parent = ::GetParent(m_hWnd);
        HWND first = NULL;
        HWND current = m_hWnd;
        for (;;) {
            current = ::GetNextDlgGroupItem(parent, current, FALSE);
            if (!current || current == m_hWnd || current == first) break;
            if (!first) first = current;
            ::PostMessageA(current, UM_UNCHECK, 0, 0);
        }
    }
    Invalidate(TRUE);
    return 0;
}

// Drawing

void CShadedButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    AFXASSERT(lpDrawItemStruct != nullptr);
    if (!lpDrawItemStruct || !lpDrawItemStruct->hDC) return;

    // Keep the pushed look in step with the pointer while the mouse button
    // is held; the state change brings a new draw request.
    if (m_bButtonDown && ::GetCapture() == m_hWnd) {
        POINT pt;
        if (::GetCursorPos(&pt)) {
            const BOOL over = IsUnderPoint(pt);
            const BOOL pushed = IsPushedState();
            if (over && !pushed) {
                SendMessage(BM_SETSTATE, TRUE);
                return;
            }
            if (!over && pushed) {
                SendMessage(BM_SETSTATE, FALSE);
                return;
            }
        }
    }

    const UINT state = lpDrawItemStruct->itemState;
    CRect rc(lpDrawItemStruct->rcItem);
    const int cx = rc.Width();
    const int cy = rc.Height();
    const int k = m_nFocusInset;
    CRect textRect(rc.left + k + 2, rc.top, rc.right - k - 2, rc.bottom);

    CDC target;
    target.Attach(lpDrawItemStruct->hDC);
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(target) || !bitmap.CreateCompatibleBitmap(target, cx, cy)) return;
    CSelectObject bitmapSelection(mem, bitmap);
    CString caption;
    GetWindowText(caption);
    mem.SetBkMode(TRANSPARENT);
    CSelectObject fontSelection(mem, ::GetStockObject(DEFAULT_GUI_FONT));

    if (state & ODS_DISABLED) {
        if (!m_faces.disabled.DrawAt(mem, 0, 0))
            mem.FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
        if (m_nFrame && !m_bFlat) mem.DrawEdge(rc, EDGE_RAISED, BF_RECT);
        mem.SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        mem.DrawText(caption, -1, textRect, m_nTextFormat);
        CRect grey = textRect;
        grey.OffsetRect(-1, -1);
        mem.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
        mem.DrawText(caption, -1, grey, m_nTextFormat);
    } else {
        if ((state & ODS_SELECTED) || m_bCheck) {
            if (!m_faces.pressed.DrawAt(mem, m_nFrame, m_nFrame))
                mem.FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
            if (m_bPushLike) textRect.OffsetRect(1, 1);
            if (m_nFrame) {
                if (m_bFlat)
                    mem.Draw3dRect(rc, ::GetSysColor(COLOR_BTNSHADOW),
                                   ::GetSysColor(COLOR_BTNHIGHLIGHT));
                else mem.DrawEdge(rc, EDGE_SUNKEN, BF_RECT);
            }
        } else {
            BOOL drawn = FALSE;
            if (m_bHover && m_faces.hover.HasImage()) drawn = m_faces.hover.DrawAt(mem, 0, 0);
            else drawn = m_faces.normal.DrawAt(mem, 0, 0);
            if (!drawn) mem.FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
            if (m_nFrame && (m_bHover || !m_bFlat)) {
                if (state & ODS_DEFAULT) {
                    mem.DrawEdge(rc, EDGE_SUNKEN, BF_RECT);
                    rc.DeflateRect(1, 1);
                    mem.DrawEdge(rc, EDGE_RAISED, BF_RECT);
                } else if (m_bFlat) {
                    mem.Draw3dRect(rc, ::GetSysColor(COLOR_BTNHIGHLIGHT),
                                   ::GetSysColor(COLOR_BTNSHADOW));
                } else {
                    mem.DrawEdge(rc, EDGE_RAISED, BF_RECT);
                }
            }
        }
        if ((state & ODS_FOCUS) && k > 0) {
            rc.DeflateRect(k, k);
            m_faces.focusHorizontal.DrawAt(mem, rc.left + 1, rc.top);
            m_faces.focusHorizontal.DrawAt(mem, rc.left + 1, rc.bottom);
            m_faces.focusVertical.DrawAt(mem, rc.left, rc.top + 1);
            m_faces.focusVertical.DrawAt(mem, rc.right, rc.top + 1);
        }
        mem.SetTextColor(m_crText);
        mem.DrawText(caption, -1, textRect, m_nTextFormat);
    }

    target.BitBlt(0, 0, cx, cy, mem, 0, 0, SRCCOPY);
}
