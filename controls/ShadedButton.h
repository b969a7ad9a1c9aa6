// An owner-drawn push button that paints itself from generated shaded
// faces (see FaceGenerator.h), lightens while the pointer is over it,
// keeps the pushed look in step with the pointer while the mouse button is
// held, draws its own focus marks and default frame, and behaves as a
// check box or radio button when its template asks for one.
//
// Bind it to a button of a dialog with SubclassDlgItem, then call
// GenerateFaces once from the dialog's initialisation.  The dialog must
// reflect WM_DRAWITEM to the button as WM_REFLECT_DRAWITEM (CDialog does).
#pragma once

#include <cstdint>

#include "controls/FaceGenerator.h"
#include "framework/AfxCtrl.h"
#include "framework/AfxGdi.h"

// Posted to the other members of a radio button's group when it becomes
// checked.
enum : UINT { UM_UNCHECK = WM_USER + 0x100 };

// WM_DRAWITEM as the parent reflects it to the control that asked.
enum : UINT { WM_REFLECT_DRAWITEM_MSG = 0x2000 + WM_DRAWITEM };

class CShadedButton : public CButton {
public:
    enum Kind { KindPush = 0, KindCheckBox = 2, KindRadio = 4 };

    CShadedButton();
    ~CShadedButton() override;

    // Builds the normal, pressed, disabled and hover faces and the two
    // focus lines for the button's current window size.  Only the low 8
    // bits of grain, hoverLight and tintPercent count.  The defaults are
    // the programs' own look: grain 8, 10 lighter under the pointer, no
    // tint.
    void GenerateFaces(uint32_t style, int grain = 8, int hoverLight = 10, int tintPercent = 0,
                       COLORREF tintColour = 0);

    // The owner-draw entry: paints the whole button for one draw request.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Inspection
    int GetKind() const { return m_nKind; }
    bool IsPushLike() const { return m_bPushLike; }
    bool IsFlat() const { return m_bFlat; }
    bool IsHover() const { return m_bHover; }
    bool IsButtonDown() const { return m_bButtonDown; }
    int GetFrame() const { return m_nFrame; }
    UINT GetTextFormat() const { return m_nTextFormat; }
    int GetFocusInset() const { return m_nFocusInset; }
    COLORREF GetTextColor() const { return m_crText; }
    const ShadedFaces& Faces() const { return m_faces; }

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam);
    BOOL IsUnderPoint(POINT screenPoint) const;
    BOOL IsPushedState() const;
    void ToggleFromUser();

    bool m_bCheck = false;
    bool m_bPushLike = false;
    int m_nKind = KindPush;
    ShadedFaces m_faces;  // normal, pressed, disabled, hover, focus lines
    bool m_bHover = false;
    bool m_bButtonDown = false;
    short m_nFocusInset = 4;
    COLORREF m_crText;
    int m_nFrame = 1;
    UINT m_nTextFormat = DT_CENTER;
    bool m_bFlat = false;
};
