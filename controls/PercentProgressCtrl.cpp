#include "PercentProgressCtrl.h"

// The off-screen surface

CProgressMemDC::CProgressMemDC(CDC* pDC) : m_pDC(pDC) {
    m_bMemDC = ::GetDeviceCaps(*pDC, TECHNOLOGY) != DT_RASPRINTER;
    if (m_bMemDC) {
        pDC->GetClipBox(&m_rect);
        CreateCompatibleDC(*pDC);
        m_bitmap.CreateCompatibleBitmap(*pDC, m_rect.Width(), m_rect.Height());
        m_oldBitmap = SelectObject(m_bitmap.GetSafeHandle());
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }
}

CProgressMemDC::~CProgressMemDC() {
    if (m_bMemDC) {
        ::BitBlt(*m_pDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC,
                 m_rect.left, m_rect.top, SRCCOPY);
        SelectObject(m_oldBitmap);
    } else {
        // Borrowed handles: let go without releasing them.
        m_hDC = m_hAttribDC = NULL;
    }
    m_bitmap.DeleteObject();
}

void CProgressMemDC::ClipTo(const RECT& rect) {
    // Clipping regions are in device units: the memory bitmap starts at
    // the area's top-left corner.
    CRgn region;
    if (m_bMemDC) {
        region.CreateRectRgn(rect.left - m_rect.left, rect.top - m_rect.top,
                             rect.right - m_rect.left, rect.bottom - m_rect.top);
    } else {
        POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        ::LPtoDP(m_hDC, corners, 2);
        region.CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    }
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

void CPercentProgressCtrl::EnableText(int bShow) {
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
        // Nothing to show; still validate the window.
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    CPaintDC paint(m_hWnd);
    CProgressMemDC dc(&paint);

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
