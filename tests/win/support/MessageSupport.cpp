// This thread's messages, and a window that hands them to a handler.
#include "TestSupport.h"

#include <utility>

namespace quilmtest {

namespace {

const char kMessageWindowClass[] = "QuilmTestMessageWindow";

}  // namespace

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

MessageWindow::MessageWindow(Handler handler) : m_handler(std::move(handler)) {
    static const ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &MessageWindow::Proc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = kMessageWindowClass;
        return ::RegisterClassA(&wc);
    }();
    (void)atom;
    m_hwnd = ::CreateWindowA(kMessageWindowClass, "owner", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                             ::GetModuleHandleA(NULL), this);
}

MessageWindow::~MessageWindow() {
    if (!m_hwnd) return;
    // Nothing reaches the handler while the window goes.
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hwnd);
}

LRESULT CALLBACK MessageWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && self->m_handler && self->m_handler(message, wParam, lParam, result)) return result;
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace quilmtest
