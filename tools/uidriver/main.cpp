// uidriver: drives a running program's windows from the command line.
//
//   uidriver list                              top-level windows: hwnd pid class "title"
//   uidriver wait TITLE [CLASS] [CHILD_ID] [MS] prints the window's handle
//   uidriver text HWND ID                      the control's text
//   uidriver state HWND ID                     enabled visible check
//   uidriver click HWND ID                     posts BM_CLICK
//   uidriver type HWND ID TEXT                 WM_SETTEXT
//   uidriver msgbox [ANSWER_ID] [MS]           prints the box's text, clicks ANSWER_ID
//   uidriver shot FILE.bmp [HWND]              screenshot of the screen or a window
//   uidriver close HWND                        posts WM_CLOSE
// Handles are hexadecimal; texts are in the system code page.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "UiDriver.h"

using namespace uidriver;

namespace {

HWND ParseHwnd(const char* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(strtoull(text, nullptr, 16)));
}

BOOL CALLBACK ListProc(HWND hwnd, LPARAM) {
    if (!IsWindowVisible(hwnd)) return TRUE;
    char cls[256] = {0};
    GetClassNameA(hwnd, cls, sizeof(cls));
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    printf("%llx %lu %s \"%s\"\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)),
           pid, cls, GetText(hwnd).c_str());
    return TRUE;
}

int Usage() {
    fprintf(stderr, "usage: uidriver list|wait|text|state|click|type|msgbox|shot|close ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const char* command = argv[1];
    if (!strcmp(command, "list")) {
        EnumWindows(&ListProc, 0);
        return 0;
    }
    if (!strcmp(command, "wait") && argc >= 3) {
        const char* cls = argc > 3 && argv[3][0] ? argv[3] : nullptr;
        int child = argc > 4 ? atoi(argv[4]) : 0;
        DWORD ms = argc > 5 ? static_cast<DWORD>(atoi(argv[5])) : 10000;
        HWND hwnd = WaitTopWindow(argv[2], cls, 0, child, ms);
        if (!hwnd) return 1;
        printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
        return 0;
    }
    if (!strcmp(command, "text") && argc >= 4) {
        printf("%s\n", GetItemText(ParseHwnd(argv[2]), atoi(argv[3])).c_str());
        return 0;
    }
    if (!strcmp(command, "state") && argc >= 4) {
        HWND dialog = ParseHwnd(argv[2]);
        int id = atoi(argv[3]);
        printf("enabled=%d visible=%d check=%d\n", IsItemEnabled(dialog, id), IsItemVisible(dialog, id),
               GetItemCheck(dialog, id));
        return 0;
    }
    if (!strcmp(command, "click") && argc >= 4) return Click(ParseHwnd(argv[2]), atoi(argv[3])) ? 0 : 1;
    if (!strcmp(command, "type") && argc >= 5)
        return SetItemText(ParseHwnd(argv[2]), atoi(argv[3]), argv[4]) ? 0 : 1;
    if (!strcmp(command, "msgbox")) {
        DWORD ms = argc > 3 ? static_cast<DWORD>(atoi(argv[3])) : 10000;
        HWND box = WaitMessageBox(0, ms);
        if (!box) return 1;
        printf("%s\n", MessageBoxText(box).c_str());
        if (argc > 2 && atoi(argv[2]) > 0) return AnswerMessageBox(box, atoi(argv[2])) ? 0 : 1;
        return 0;
    }
    if (!strcmp(command, "close") && argc >= 3)
        return PostMessageA(ParseHwnd(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    if (!strcmp(command, "shot") && argc >= 3)
        return SaveScreenshot(argc > 3 ? ParseHwnd(argv[3]) : NULL, argv[2]) ? 0 : 1;
    return Usage();
}
