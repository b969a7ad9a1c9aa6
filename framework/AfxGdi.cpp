#include "AfxGdi.h"

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = NULL;
    return ok;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    AFXASSERT(!m_hObject);
    DeleteObject();
    m_hObject = hObject;
    return hObject != NULL;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    m_hObject = NULL;
    return hObject;
}

CDC::~CDC() {
    if (m_bOwned) DeleteDC();
}

BOOL CDC::CreateCompatibleDC(HDC hdc) {
    AFXASSERT(!m_hDC);
    if (m_bOwned) DeleteDC();
    m_hDC = ::CreateCompatibleDC(hdc);
    m_bOwned = m_hDC != NULL;
    return m_hDC != NULL;
}

BOOL CDC::Attach(HDC hdc) {
    AFXASSERT(!m_hDC);  // an attached context would be lost without its release
    if (m_bOwned) DeleteDC();
    m_hDC = hdc;
    m_bOwned = false;
    return hdc != NULL;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    m_hDC = NULL;
    m_bOwned = false;
    return hdc;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    BOOL ok = m_bOwned ? ::DeleteDC(m_hDC) : TRUE;
    m_hDC = NULL;
    m_bOwned = false;
    return ok;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour) {
    COLORREF old = ::SetBkColor(m_hDC, colour);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, NULL, 0, NULL);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) {
    RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, colour);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
               bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

POINT CDC::SetWindowOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd) {
    AFXASSERT(::IsWindow(hWnd));
    Attach(::BeginPaint(hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd) {
    Attach(::GetDC(hWnd));
}

CClientDC::~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
    Detach();
}
