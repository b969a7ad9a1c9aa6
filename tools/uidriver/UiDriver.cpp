#include "UiDriver.h"

#include <cstdio>
#include <vector>

#include "framework/AfxGdi.h"

namespace uidriver {

namespace {

const DWORD kPollMs = 30;

struct FindState {
    LPCSTR title;
    LPCSTR cls;
    DWORD pid;
    int childId;
    HWND found;
};

bool Matches(HWND hwnd, const FindState& s) {
    if (!::IsWindowVisible(hwnd)) return false;
    if (s.pid) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner != s.pid) return false;
    }
    if (s.cls) {
        char cls[256] = {0};
        ::GetClassNameA(hwnd, cls, sizeof(cls));
        if (lstrcmpA(cls, s.cls) != 0) return false;
    }
    if (s.title && GetText(hwnd) != s.title) return false;
    if (s.childId && !::GetDlgItem(hwnd, s.childId)) return false;
    return true;
}

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam) {
    FindState* s = reinterpret_cast<FindState*>(lParam);
    if (Matches(hwnd, *s)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

template <typename Condition>
bool Poll(DWORD timeoutMs, Condition condition) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(kPollMs);
    }
}

}  // namespace

HWND FindTopWindow(LPCSTR title, LPCSTR cls, DWORD pid, int childId) {
    FindState s = {title, cls, pid, childId, NULL};
    ::EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitTopWindow(LPCSTR title, LPCSTR cls, DWORD pid, int childId, DWORD timeoutMs) {
    HWND found = NULL;
    Poll(timeoutMs, [&] { return (found = FindTopWindow(title, cls, pid, childId)) != NULL; });
    return found;
}

bool WaitGone(HWND hwnd, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] { return !::IsWindow(hwnd) || !::IsWindowVisible(hwnd); });
}

bool WaitProcessEnd(HANDLE process, DWORD timeoutMs) {
    return ::WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

std::string GetText(HWND hwnd) {
    if (!hwnd) return std::string();
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return std::string();
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR got = 0;
    ::SendMessageTimeoutA(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                          SMTO_ABORTIFHUNG, 5000, &got);
    return std::string(buffer.data());
}

std::string GetItemText(HWND dialog, int id) {
    return GetText(::GetDlgItem(dialog, id));
}

bool IsItemEnabled(HWND dialog, int id) {
    HWND item = ::GetDlgItem(dialog, id);
    return item && ::IsWindowEnabled(item);
}

bool IsItemVisible(HWND dialog, int id) {
    HWND item = ::GetDlgItem(dialog, id);
    return item && (::GetWindowLongPtrA(item, GWL_STYLE) & WS_VISIBLE);
}

int GetItemCheck(HWND dialog, int id) {
    DWORD_PTR state = 0;
    HWND item = ::GetDlgItem(dialog, id);
    if (!item) return -1;
    ::SendMessageTimeoutA(item, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return static_cast<int>(state);
}

bool WaitItemText(HWND dialog, int id, const std::string& text, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] { return GetItemText(dialog, id) == text; });
}

bool WaitItemEnabled(HWND dialog, int id, bool enabled, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] { return IsItemEnabled(dialog, id) == enabled; });
}

bool Click(HWND dialog, int id) {
    HWND item = ::GetDlgItem(dialog, id);
    return item && ::PostMessageA(item, BM_CLICK, 0, 0);
}

bool SetItemText(HWND dialog, int id, const std::string& text) {
    HWND item = ::GetDlgItem(dialog, id);
    DWORD_PTR r = 0;
    return item &&
           ::SendMessageTimeoutA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                 SMTO_ABORTIFHUNG, 5000, &r);
}

void PressKey(HWND hwnd, WPARAM vk) {
    ::PostMessageA(hwnd, WM_KEYDOWN, vk, 1);
    ::PostMessageA(hwnd, WM_KEYUP, vk, 0xC0000001);
}

HWND WaitMessageBox(DWORD pid, DWORD timeoutMs) {
    return WaitTopWindow(NULL, "#32770", pid, 65535, timeoutMs);
}

std::string MessageBoxText(HWND box) {
    return GetItemText(box, 65535);
}

bool AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs) {
    if (!Click(box, buttonId)) return false;
    return WaitGone(box, timeoutMs);
}

bool SaveScreenshot(HWND hwnd, const std::string& bmpPath) {
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (hwnd && !::GetWindowRect(hwnd, &area)) return false;
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;

    CClientDC screen(NULL);
    CDC memory;
    memory.CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmap dib;
    dib.Attach(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0));
    bool ok = false;
    if (dib.GetSafeHandle() && bits) {
        {
            CSelectObject selection(memory, dib);
            memory.BitBlt(0, 0, width, height, screen, area.left, area.top, SRCCOPY);
            ::GdiFlush();
        }
        DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        FILE* out = fopen(bmpPath.c_str(), "wb");
        if (out) {
            ok = fwrite(&file, sizeof(file), 1, out) == 1 &&
                 fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                 fwrite(bits, 1, imageSize, out) == imageSize;
            ok = fclose(out) == 0 && ok;
        }
    }
    return ok;
}

}  // namespace uidriver
