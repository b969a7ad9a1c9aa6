// The screen as a person sees it: message boxes of this process answered
// from a thread of their own while the test's thread (or a job) waits in
// them, and screenshots.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quilmtest {

struct BoxSeen {
    std::string caption, text;
    HWND owner;
};

// Presses button in every message box of this process until destroyed,
// noting each box.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    // The boxes answered so far, in order.
    std::vector<BoxSeen> Seen();
    std::vector<std::string> Texts();

private:
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<BoxSeen> m_seen;
    std::thread m_thread;
};

// A message box of this process whose text contains part, among all its
// open boxes, waited for up to timeoutMs and left open; NULL when none
// came.
HWND WaitOwnBox(const std::string& part, DWORD timeoutMs);
// The same for a message box of process pid: the job's prompts and the
// page's questions may be open at the same time.
HWND WaitBoxSaying(DWORD pid, const std::string& part, DWORD timeoutMs);

// Saves the screen (window NULL) or a window as "<name>.bmp" in the host
// folder hostFolder, once the windows shown (every visible top-level
// window, or window) have handled the painting they were waiting for.
bool SaveShot(HWND window, const std::string& hostFolder, const std::string& name);

}  // namespace quilmtest
