#include "ColorLabel.h"

CColorLabel::~CColorLabel() = default;

LRESULT CColorLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return TRUE;  // never a background of its own
    case WM_PAINT: OnPaint(); return 0;
    default: return CStatic::WindowProc(message, wParam, lParam);
    }
}

void CColorLabel::OnPaint() {
    CPaintDC dc(m_hWnd);
    CRect rc;
    GetClientRect(&rc);
    CString text;
    GetWindowText(text);
    dc.SetBkMode(TRANSPARENT);
    CSelectObject fontSelection;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font) fontSelection.Select(dc, font);
    if (m_bShadow) {
        CRect shadow = rc;
        shadow.OffsetRect(m_nShadowDx, m_nShadowDy);
        dc.SetTextColor(m_crShadow);
        dc.DrawText(text, -1, shadow, DT_WORDBREAK);
    }
    dc.SetTextColor(m_crText);
    dc.DrawText(text, -1, rc, DT_WORDBREAK);
}
