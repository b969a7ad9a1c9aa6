#include "Boxes.h"

#include "TestSupport.h"
#include "UiDriver.h"

namespace quilmtest {

BoxAnswerer::BoxAnswerer(int button)
    : m_thread([this, button] {
          while (!m_stop) {
              HWND box = uidriver::WaitMessageBox(::GetCurrentProcessId(), 200);
              if (!box) continue;
              BoxSeen seen{uidriver::GetText(box), uidriver::MessageBoxText(box),
                           ::GetWindow(box, GW_OWNER)};
              {
                  std::lock_guard<std::mutex> lock(m_mutex);
                  m_seen.push_back(seen);
              }
              uidriver::AnswerMessageBox(box, button);
          }
      }) {}

BoxAnswerer::~BoxAnswerer() {
    m_stop = true;
    m_thread.join();
}

std::vector<BoxSeen> BoxAnswerer::Seen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

std::vector<std::string> BoxAnswerer::Texts() {
    std::vector<std::string> texts;
    for (const BoxSeen& seen : Seen()) texts.push_back(seen.text);
    return texts;
}

namespace {

struct BoxSearch {
    DWORD pid;
    const std::string& part;
    HWND found;
};

// Looks at every visible message box of the process, not only the first
// one: a box held open (a job's prompt) must not hide one opened later.
BOOL CALLBACK FindBox(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = {0};
    if (pid != search->pid || !::IsWindowVisible(hwnd) ||
        !::GetClassNameA(hwnd, cls, sizeof(cls)) || lstrcmpA(cls, "#32770") != 0 ||
        !::GetDlgItem(hwnd, 65535) ||
        uidriver::MessageBoxText(hwnd).find(search->part) == std::string::npos)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

BOOL CALLBACK PaintNow(HWND hwnd, LPARAM) {
    if (::IsWindowVisible(hwnd)) ::RedrawWindow(hwnd, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

}  // namespace

HWND WaitOwnBox(const std::string& part, DWORD timeoutMs) {
    return WaitBoxSaying(::GetCurrentProcessId(), part, timeoutMs);
}

HWND WaitBoxSaying(DWORD pid, const std::string& part, DWORD timeoutMs) {
    BoxSearch search{pid, part, NULL};
    return WaitUntil(
               [&] {
                   ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
                   return search.found != NULL;
               },
               timeoutMs)
               ? search.found
               : NULL;
}

bool SaveShot(HWND window, const std::string& hostFolder, const std::string& name) {
    // Whatever waits to be painted is painted first: for a window of
    // another thread RedrawWindow sends WM_PAINT and returns once it was
    // handled.  For the screen, every visible top-level window.
    if (window) PaintNow(window, 0);
    else ::EnumWindows(&PaintNow, 0);
    ::CreateDirectoryA(HostToWine(hostFolder).c_str(), NULL);
    return uidriver::SaveScreenshot(window, HostToWine(hostFolder) + "\\" + name + ".bmp");
}

}  // namespace quilmtest
