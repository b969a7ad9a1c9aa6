#include "PercentProgressCtrl.h"

// The off-screen surface

CProgressMemDC::CProgressMemDC(CDC& target) : m_target(target) {
    AFXASSERT(static_cast<HDC>(target) != NULL);
    target.GetClipBox(&m_rect);
    CreateCompatibleDC(target);
    m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height());
    m_bitmapSelection.Select(m_hDC, m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
}

CProgressMemDC::~CProgressMemDC() {
    ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
             m_rect.top, SRCCOPY);
}

void CProgressMemDC::ClipTo(const RECT& rect) {
    // Clipping regions are in device units: the memory bitmap starts at
    // the area's top-left corner.
    CRgn region;
    region.CreateRectRgn(rect.left - m_rect.left, rect.top - m_rect.top, rect.right - m_rect.left,
                         rect.bottom - m_rect.top);
    SelectClipRgn(region);
}

// The control

CPercentProgressCtrl::CPercentProgressCtrl()
    : m_crBar(::GetSysColor(COLOR_HIGHLIGHT)),
      m_crBack(::GetSysColor(COLOR_WINDOW)),
      m_crTextOnBack(::GetSysColor(COLOR_HIGHLIGHT)),
      m_crTextOnBar(::GetSysColor(COLOR_WINDOW)) {}

CPercentProgressCtrl::~CPercentProgressCtrl() = default;

void CPercentProgressCtrl::SetRange(int nLower, int nUpper) {
    m_nLower = nLower;
    m_nUpper = nUpper;
}

int CPercentProgressCtrl::FilledWidth(int clientWidth) const {
    return progress::FilledWidth(m_nPos, m_nLower, m_nUpper, clientWidth);
}

std::string CPercentProgressCtrl::DisplayText() const {
    if (!m_strCustomText.empty()) return m_strCustomText;
    return progress::PercentText(m_nPos, m_nLower, m_nUpper);
}

int CPercentProgressCtrl::SetPos(int nPos) {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return -1;
    const int old = m_nPos;
    m_nPos = nPos;
    CRect rc;
    GetClientRect(&rc);
    const int width = FilledWidth(rc.Width());
    if (width != m_nDrawnWidth) {
        m_nDrawnWidth = width;
        ++m_nRepaints;
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return old;
}

int CPercentProgressCtrl::StepIt() {
    return SetPos(m_nPos + m_nStep);
}

void CPercentProgressCtrl::EnableText(bool bShow) {
    if (m_hWnd && bShow != m_bShowText) Invalidate(TRUE);
    m_bShowText = bShow;
}

LRESULT CPercentProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: OnPaint(); return 0;
    case WM_SIZE: {
        LRESULT result = Default();
        m_nDrawnWidth = -1;
        return result;
    }
    case WM_SETTEXT: return OnSetText(lParam);
    case WM_GETTEXT: return OnGetText(wParam, lParam);
    default: return CProgressCtrl::WindowProc(message, wParam, lParam);
    }
}

LRESULT CPercentProgressCtrl::OnSetText(LPARAM lParam) {
    const LRESULT result = Default();
    const char* text = reinterpret_cast<const char*>(lParam);
    bool changed = false;
    if (!text) {
        if (!m_strCustomText.empty()) {
            m_strCustomText.clear();
            changed = true;
        }
    } else if (m_strCustomText != text) {
        m_strCustomText = text;
        changed = true;
    }
    if (changed) Invalidate(TRUE);
    return result;
}

LRESULT CPercentProgressCtrl::OnGetText(WPARAM wParam, LPARAM lParam) const {
    // The caller's text, terminated and whole characters only.
    return static_cast<LRESULT>(progress::CopyText(m_strCustomText, reinterpret_cast<char*>(lParam),
                                                   static_cast<size_t>(wParam)));
}

void CPercentProgressCtrl::OnPaint() {
    if (m_nLower >= m_nUpper) {
        CPaintDC validate(m_hWnd);  // nothing to show; still validate the window
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    CPaintDC paint(m_hWnd);
    CProgressMemDC dc(paint);

    // Positions are not clamped; only the painted rectangles are kept to
    // the client area so that a far position cannot overflow them.
    int filled = FilledWidth(rc.Width());
    if (filled < 0) filled = 0;
    if (filled > rc.Width()) filled = rc.Width();
    const CRect done(rc.left, rc.top, rc.left + filled, rc.bottom);
    const CRect rest(done.right, rc.top, rc.right, rc.bottom);

    dc.FillSolidRect(done, m_crBar);
    dc.FillSolidRect(rest, m_crBack);

    if (m_bShowText) {
        const std::string text = DisplayText();
        dc.SetBkMode(TRANSPARENT);
        CRect textRect = rc;
        dc.ClipTo(done);
        dc.SetTextColor(m_crTextOnBar);
        dc.DrawText(text.c_str(), -1, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.ClipTo(rest);
        dc.SetTextColor(m_crTextOnBack);
        dc.DrawText(text.c_str(), -1, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SelectClipRgn(NULL);
    }
}
