// Drives another process's windows the way a person would: finds windows
// by title and class, reads control texts and states, clicks buttons,
// types into edit boxes, answers message boxes and saves screenshots.
// Every wait polls with a bound; nothing here waits forever.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

// A visible top-level window with this title and class (either may be
// NULL for "any"), of process pid (0 for any), that has a child control
// with id childId (0 for "no condition").
HWND FindTopWindow(LPCSTR title, LPCSTR cls, DWORD pid = 0, int childId = 0);
HWND WaitTopWindow(LPCSTR title, LPCSTR cls, DWORD pid, int childId, DWORD timeoutMs);
// Waits until hwnd is gone or hidden; true when it went.
bool WaitGone(HWND hwnd, DWORD timeoutMs);
// Waits until process ends; true when it ended.
bool WaitProcessEnd(HANDLE process, DWORD timeoutMs);

// Texts and states of another process's windows (WM_GETTEXT is carried
// across processes; GetWindowText is not).
std::string GetText(HWND hwnd);
std::string GetItemText(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);
bool IsItemVisible(HWND dialog, int id);
int GetItemCheck(HWND dialog, int id);  // BM_GETCHECK
// Polls until the item's text is `text`; true when it was seen.
bool WaitItemText(HWND dialog, int id, const std::string& text, DWORD timeoutMs);
bool WaitItemEnabled(HWND dialog, int id, bool enabled, DWORD timeoutMs);

// A click by posting BM_CLICK (a sent click would block while the click
// opens modal user interface).
bool Click(HWND dialog, int id);
// Types text into an edit box (WM_SETTEXT).
bool SetItemText(HWND dialog, int id, const std::string& text);
// Sends a keystroke (WM_KEYDOWN/WM_KEYUP) to a window.
void PressKey(HWND hwnd, WPARAM vk);

// A message box of process pid: a "#32770" window whose text control has
// id 65535.
HWND WaitMessageBox(DWORD pid, DWORD timeoutMs);
std::string MessageBoxText(HWND box);
// Clicks the button (IDYES, IDNO, IDIGNORE...) and waits until the box goes.
bool AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs = 5000);

// Saves the screen (hwnd NULL) or the screen area of a window as a 24-bit
// BMP file.
bool SaveScreenshot(HWND hwnd, const std::string& bmpPath);

}  // namespace uidriver
