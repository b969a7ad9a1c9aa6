#include "JobProgress.h"

void CJobProgress::Bind(HWND window, int barId, int lineId) {
    AFXASSERT(::IsWindow(window));
    m_hWnd = window;
    // Found once: GetDlgItem asks the server for the window's children.
    m_hLine = ::GetDlgItem(window, lineId);
    AFXASSERT(m_hLine != NULL);
    m_bPaintDue = false;  // a timer dies with its window
    m_job.SetOwner(window);
    m_bar.SubclassDlgItem(static_cast<UINT>(barId), window);
}

void CJobProgress::SetSteps(int steps) {
    m_bar.SetRange(0, steps);
    m_bar.SetStep(1);
}

void CJobProgress::CountDown(int steps) {
    m_bar.SetRange(0, steps);
    m_bar.SetStep(-1);
    m_bar.SetPos(steps);
}

BOOL CJobProgress::Start() {
    return m_job.Start();
}

void CJobProgress::Step(LPCSTR line) {
    AFXASSERT(::IsWindow(m_hWnd));  // bound, and the window is still there
    // A job sends a step per entry, thousands a second, each waiting for
    // this: store the line and the position, and invalidate them with the
    // timer.  A static control would draw itself inside WM_SETTEXT; its
    // default procedure only stores the text.
    ::DefWindowProcA(m_hLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line));
    m_bar.StorePos(m_bar.GetPos() + m_bar.GetStep());
    if (!m_bPaintDue &&
        ::SetTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this), kPaintPeriod, &OnPaintTimer))
        m_bPaintDue = true;
}

void CALLBACK CJobProgress::OnPaintTimer(HWND hWnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hWnd, id);
    auto* self = reinterpret_cast<CJobProgress*>(id);
    self->m_bPaintDue = false;
    ::InvalidateRect(self->m_hLine, NULL, TRUE);
    self->m_bar.SetPos(self->m_bar.GetPos());  // invalidates when the filled width changed
}

CJobProgress::~CJobProgress() {
    EndJob();
    if (m_bPaintDue) ::KillTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this));
}
