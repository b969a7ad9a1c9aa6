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

HWND WaitOwnBox(const std::string& part, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        HWND box = uidriver::WaitMessageBox(::GetCurrentProcessId(), 100);
        if (box && uidriver::MessageBoxText(box).find(part) != std::string::npos) return box;
        if (::GetTickCount() - start > timeoutMs) return NULL;
        ::Sleep(30);
    }
}

bool SaveShot(HWND window, const std::string& hostFolder, const std::string& name) {
    ::Sleep(400);
    ::CreateDirectoryA(HostToWine(hostFolder).c_str(), NULL);
    return uidriver::SaveScreenshot(window, HostToWine(hostFolder) + "\\" + name + ".bmp");
}

}  // namespace quilmtest
