// Runs the install engine from a console: prints every progress message
// and the result.  usage: install_demo SOURCE_DIR DEST_DIR
#include <windows.h>

#include <cstdio>

#include "common/install_log.h"
#include "common/paths.h"
#include "setup/SetupThread.h"

namespace {

int g_progress = 0;
const char* g_result = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETUP_PROGRESS:
        ++g_progress;
        printf("%5d  %s\n", g_progress, reinterpret_cast<const char*>(lParam));
        (void)wParam;
        return 0;
    case WM_SETUP_CONFIGURING: printf("copy phase complete, configuring...\n"); return 0;
    case WM_SETUP_DONE: g_result = "done"; return 0;
    case WM_SETUP_FAILED: g_result = "failed"; return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: install_demo SOURCE_DIR DEST_DIR\n");
        return 2;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QuilmInstallDemo";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA(wc.lpszClassName, "Quilm install", WS_OVERLAPPED, 0, 0, 10, 10, NULL,
                               NULL, wc.hInstance, NULL);
    CSetupThread job;
    job.m_strSourceDir = WithTrailingBackslash(TrimBlanks(argv[1])).c_str();
    job.m_strDestDir = WithTrailingBackslash(TrimBlanks(argv[2])).c_str();
    if (!job.Start(owner)) {
        fprintf(stderr, "cannot start the install job\n");
        return 1;
    }
    job.WaitForEnd();
    // The final message is posted; take it from the queue.
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);

    printf("result: %s, %d progress messages\n", g_result ? g_result : "none", g_progress);
    printf("package: %s\n", static_cast<LPCSTR>(job.m_strDestDir));
    if (g_result && g_result[0] == 'd')
        printf("record:  %s\n", JoinPath(job.m_strDestDir.str(), kRecordFileName).c_str());
    DestroyWindow(owner);
    return g_result && g_result[0] == 'd' ? 0 : 1;
}
