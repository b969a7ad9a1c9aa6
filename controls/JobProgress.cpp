#include "JobProgress.h"

void CJobProgress::Bind(HWND window, int barId, int lineId) {
    m_hWnd = window;
    m_nLineId = lineId;
    m_job.SetOwner(window);
    m_bar.SubclassDlgItem(static_cast<UINT>(barId), window);
}

void CJobProgress::SetSteps(int steps) {
    m_bar.SetRange(0, steps);
    m_bar.SetStep(1);
}

BOOL CJobProgress::Start() {
    return m_job.Start();
}

void CJobProgress::Step(LPCSTR line) {
    ::SetDlgItemTextA(m_hWnd, m_nLineId, line);
    m_bar.StepIt();
}
