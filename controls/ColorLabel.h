// A static text control that paints its text transparently over whatever
// its dialog drew behind it, optionally with a light grey drop shadow.
// The text is always left-aligned and wrapped at word boundaries, in the
// control's own (dialog) font.
#pragma once

#include "framework/AfxCtrl.h"
#include "framework/AfxGdi.h"

class CColorLabel : public CStatic {
public:
    CColorLabel() = default;
    ~CColorLabel() override;

    // Stores the flag and returns the previous one; does not repaint.
    bool SetShadow(bool bShadow) {
        bool old = m_bShadow;
        m_bShadow = bShadow;
        return old;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool m_bShadow = false;
    int m_nShadowDx = 3;
    int m_nShadowDy = 3;
    COLORREF m_crShadow = RGB(208, 208, 208);
    COLORREF m_crText = RGB(0, 0, 0);

private:
    void OnPaint();
};
