// A progress bar that paints itself: the done part in the bar colour, the
// rest in the background colour, and the percentage (or a caller's text,
// given as the window text) centred across the bar in two colours that
// change exactly at the bar's edge.  It keeps its own position, range and
// step and repaints only when the filled width in pixels changes.
#pragma once

#include <string>

#include "controls/ProgressMath.h"
#include "framework/AfxCtrl.h"
#include "framework/AfxGdi.h"

// An off-screen copy of a paint target: callers draw in the target's
// coordinates and the destructor copies the result in one operation.
class CProgressMemDC : public CDC {
public:
    explicit CProgressMemDC(CDC& target);
    ~CProgressMemDC() override;

    // Selects a clipping region given in target coordinates.
    void ClipTo(const RECT& rect);

private:
    CDC& m_target;
    CRect m_rect;
    CBitmap m_bitmap;
    CSelectObject m_bitmapSelection;  // put back before the bitmap goes
};

class CPercentProgressCtrl : public CProgressCtrl {
public:
    CPercentProgressCtrl();
    ~CPercentProgressCtrl() override;

    // Stores the bounds; no check and no repaint.
    void SetRange(int nLower, int nUpper);
    // Stores the position and repaints when the filled width changes.
    // Returns the previous position, or -1 without a window.
    int SetPos(int nPos);
    int StepIt();
    // Stores the position for whatever paints the bar next, without
    // invalidating it; a later SetPos invalidates it if need be.
    void StorePos(int nPos) { m_nPos = nPos; }
    void SetStep(int nStep) { m_nStep = nStep; }
    void EnableText(bool bShow);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Inspection
    int GetPos() const { return m_nPos; }
    int GetStep() const { return m_nStep; }
    int GetUpper() const { return m_nUpper; }
    int GetDrawnWidth() const { return m_nDrawnWidth; }
    bool IsTextEnabled() const { return m_bShowText; }
    const std::string& GetCustomText() const { return m_strCustomText; }
    // How often SetPos decided to repaint.
    int GetRepaintCount() const { return m_nRepaints; }
    // The text the bar shows at the current position.
    std::string DisplayText() const;
    // Filled width in pixels for a client width of clientWidth.
    int FilledWidth(int clientWidth) const;

    COLORREF m_crBar;
    COLORREF m_crBack;
    COLORREF m_crTextOnBack;
    COLORREF m_crTextOnBar;

private:
    void OnPaint();
    LRESULT OnSetText(LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam) const;

    int m_nPos = 0;
    int m_nStep = 1;
    int m_nUpper = 100;
    int m_nLower = 0;
    std::string m_strCustomText;
    bool m_bShowText = true;
    int m_nDrawnWidth = -1;
    int m_nRepaints = 0;
};
