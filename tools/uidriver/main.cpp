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
//   uidriver repaint HWND SAMPLES PERIOD_MS    times repaints of HWND's owner
//   uidriver cancel HWND [ANSWER_ID]           times the box that 取消 opens
//   uidriver phases HWND NEXT SHOWN BUSY END   times the pages after NEXT
// Handles are hexadecimal; texts are in the system code page.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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
    printf("%llx %lu %s \"%s\"\n",
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)), pid, cls,
           GetText(hwnd).c_str());
    return TRUE;
}

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How long the owner of a page (the wizard's backdrop) takes to repaint
// once invalidated: the time until its update region is empty again.
// Samples whose window is gone are not counted.
int TimeRepaints(HWND page, int samples, DWORD periodMs) {
    HWND backdrop = GetWindow(page, GW_OWNER);
    if (!backdrop) backdrop = page;
    std::vector<double> times;
    for (int i = 0; i < samples && IsWindow(backdrop); ++i) {
        double start = NowMs();
        InvalidateRect(backdrop, NULL, FALSE);
        bool painted = false;
        while (NowMs() - start < 10000.0 && IsWindow(backdrop)) {
            if (!GetUpdateRect(backdrop, NULL, FALSE)) {
                painted = true;
                break;
            }
            Sleep(1);
        }
        if (painted) times.push_back(NowMs() - start);
        else if (IsWindow(backdrop)) times.push_back(10000.0);
        Sleep(periodMs);
    }
    if (times.empty()) return 1;
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    printf("repaint: %d samples, median %.1f ms, max %.1f ms\n", static_cast<int>(sorted.size()),
           sorted[sorted.size() / 2], sorted.back());
    return 0;
}

// Clicks 取消 (IDCANCEL) on a page and times the question box it opens;
// the box is answered with answer (No keeps the program going).
int TimeCancelQuestion(HWND page, int answer) {
    DWORD pid = 0;
    GetWindowThreadProcessId(page, &pid);
    double start = NowMs();
    if (!Click(page, IDCANCEL)) return 1;
    HWND box = NULL;
    while (!box && NowMs() - start < 30000.0) {
        box = FindTopWindow(NULL, "#32770", pid, 65535);
        if (!box) Sleep(1);
    }
    if (!box) return 1;
    printf("cancel question: %.1f ms\n", NowMs() - start);
    return AnswerMessageBox(box, answer) ? 0 : 1;
}

// Clicks nextId on a page and times what follows, polled: until a page
// of the same title, class and process with child shownId is up (the copy
// page, once it has counted the files), until that page's child busyId
// shows (the copy is done, the configuring steps run), and until a page
// with child endId is up (the finish page).
int TimePhases(HWND page, int nextId, int shownId, int busyId, int endId) {
    const DWORD kHour = 3600000;
    DWORD pid = 0;
    GetWindowThreadProcessId(page, &pid);
    char cls[256] = {0};
    GetClassNameA(page, cls, sizeof(cls));
    const std::string title = GetText(page);
    double start = NowMs();
    if (!Click(page, nextId)) return 1;
    HWND shown = WaitTopWindow(title.c_str(), cls, pid, shownId, kHour);
    if (!shown) return 1;
    double up = NowMs();
    while (IsWindow(shown) && !IsItemVisible(shown, busyId) && NowMs() - up < kHour) Sleep(10);
    double busy = NowMs();
    if (!WaitTopWindow(title.c_str(), cls, pid, endId, kHour)) return 1;
    double end = NowMs();
    printf("phases: page up %.2f s, copy %.2f s, configuring %.2f s, in all %.2f s\n",
           (up - start) / 1000, (busy - up) / 1000, (end - busy) / 1000, (end - start) / 1000);
    return 0;
}

int Usage() {
    fprintf(stderr,
            "usage: uidriver "
            "list|wait|text|state|click|type|msgbox|shot|close|repaint|cancel|phases ...\n");
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
        printf("enabled=%d visible=%d check=%d\n", IsItemEnabled(dialog, id),
               IsItemVisible(dialog, id), GetItemCheck(dialog, id));
        return 0;
    }
    if (!strcmp(command, "click") && argc >= 4)
        return Click(ParseHwnd(argv[2]), atoi(argv[3])) ? 0 : 1;
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
    if (!strcmp(command, "repaint") && argc >= 5)
        return TimeRepaints(ParseHwnd(argv[2]), atoi(argv[3]), static_cast<DWORD>(atoi(argv[4])));
    if (!strcmp(command, "cancel") && argc >= 3)
        return TimeCancelQuestion(ParseHwnd(argv[2]), argc > 3 ? atoi(argv[3]) : IDNO);
    if (!strcmp(command, "phases") && argc >= 7)
        return TimePhases(ParseHwnd(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]),
                          atoi(argv[6]));
    return Usage();
}
