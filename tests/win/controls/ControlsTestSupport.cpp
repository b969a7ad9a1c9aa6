#include "ControlsTestSupport.h"

#include "controls/ShadedButton.h"

// Dialog templates

DialogTemplate::DialogTemplate(const char* title, int x, int y, int cx, int cy, DWORD style) {
    style |= DS_SETFONT;
    AddWord(LOWORD(style));
    AddWord(HIWORD(style));
    AddWord(0);  // extended style
    AddWord(0);
    AddWord(0);  // control count
    AddWord(static_cast<WORD>(x));
    AddWord(static_cast<WORD>(y));
    AddWord(static_cast<WORD>(cx));
    AddWord(static_cast<WORD>(cy));
    AddWord(0);  // menu
    AddWord(0);  // class
    AddText(title);
    AddWord(9);
    AddText("MS Shell Dlg");
}

void DialogTemplate::AddText(const char* text) {
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(n));
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    for (wchar_t c : wide) AddWord(static_cast<WORD>(c));
}

void DialogTemplate::Align() {
    if (m_words.size() % 2) AddWord(0);
}

void DialogTemplate::AddControl(const char* windowClass, const char* text, WORD id, int x, int y,
                                int cx, int cy, DWORD style) {
    Align();
    style |= WS_CHILD | WS_VISIBLE;
    AddWord(LOWORD(style));
    AddWord(HIWORD(style));
    AddWord(0);
    AddWord(0);
    AddWord(static_cast<WORD>(x));
    AddWord(static_cast<WORD>(y));
    AddWord(static_cast<WORD>(cx));
    AddWord(static_cast<WORD>(cy));
    AddWord(id);
    AddText(windowClass);
    AddText(text);
    AddWord(0);  // no creation data
    ++*CountSlot();
}

const DLGTEMPLATE* DialogTemplate::Get() {
    return reinterpret_cast<const DLGTEMPLATE*>(m_words.data());
}

// Test dialog

TestDialog::TestDialog(DialogTemplate& tmpl) {
    m_hwnd = ::CreateDialogIndirectParamA(::GetModuleHandleA(NULL), tmpl.Get(), NULL,
                                          &TestDialog::Proc, reinterpret_cast<LPARAM>(this));
    if (m_hwnd) {
        ::SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::UpdateWindow(m_hwnd);
        PumpMessages();
    }
}

TestDialog::~TestDialog() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
    PumpMessages();
}

INT_PTR CALLBACK TestDialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        return TRUE;
    }
    TestDialog* self = reinterpret_cast<TestDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_DRAWITEM && lParam) {
        HWND control = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        LRESULT r = ::SendMessageA(control, WM_REFLECT_DRAWITEM_MSG, wParam, lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, r);
        return r != 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && self) {
        ++self->clicks;
        self->lastClickId = LOWORD(wParam);
        return TRUE;
    }
    return FALSE;
}

// Reading pixels back

Capture CaptureDC(HDC source, int width, int height) {
    Capture capture;
    capture.width = width;
    capture.height = height;
    MemorySurface surface(width, height);
    ::BitBlt(surface.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    capture.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            capture.pixels[static_cast<size_t>(y) * width + x] = surface.At(x, y);
    return capture;
}

Capture CaptureClient(HWND hwnd) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    HDC dc = ::GetDC(hwnd);
    Capture capture = CaptureDC(dc, rc.right, rc.bottom);
    ::ReleaseDC(hwnd, dc);
    return capture;
}

MemorySurface::MemorySurface(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = ::CreateCompatibleDC(NULL);
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    m_bits = static_cast<DWORD*>(bits);
    m_old = ::SelectObject(m_dc, m_bitmap);
}

MemorySurface::~MemorySurface() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

COLORREF MemorySurface::At(int x, int y) const {
    ::GdiFlush();
    DWORD v = m_bits[static_cast<size_t>(y) * m_width + x];  // 0x00RRGGBB
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void MemorySurface::Fill(COLORREF colour) {
    RECT rc = {0, 0, m_width, m_height};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(m_dc, &rc, brush);
    ::DeleteObject(brush);
}

// Solid parent

SolidParent::SolidParent(COLORREF colour, int x, int y, int cx, int cy) {
    m_brush = ::CreateSolidBrush(colour);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &SolidParent::Proc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "QuilmSolidParent";
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    ::RegisterClassA(&wc);  // fails harmlessly when registered already
    m_hwnd = ::CreateWindowExA(WS_EX_TOPMOST, "QuilmSolidParent", "", WS_POPUP | WS_VISIBLE, x, y,
                               cx, cy, NULL, NULL, wc.hInstance, NULL);
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_brush));
    ::InvalidateRect(m_hwnd, NULL, TRUE);
    ::UpdateWindow(m_hwnd);
    PumpMessages();
}

SolidParent::~SolidParent() {
    ::DestroyWindow(m_hwnd);
    ::DeleteObject(m_brush);
    PumpMessages();
}

LRESULT CALLBACK SolidParent::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        HBRUSH brush = reinterpret_cast<HBRUSH>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc,
                   brush ? brush : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return TRUE;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}
