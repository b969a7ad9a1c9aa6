// Runs the uninstall job from a console on a given install record and
// prints its messages.  The job's self-deletion batch is written but not
// started (it would delete this program), and removed again afterwards
// with its folder in the temporary folder.
//
// usage: uninstall_demo RECORD_PATH [--quiet]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/install_log.h"
#include "uninstall/UninstallThread.h"

namespace {

int g_progress = 0;
bool g_quiet = false;
bool g_filesDone = false, g_done = false, g_failed = false;
std::string g_batch;  // the batch written, from cmd's "/c ""path"""

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_UNINSTALL_PROGRESS:
        ++g_progress;
        if (!g_quiet) printf("%5d  %s\n", g_progress, reinterpret_cast<const char*>(lParam));
        return 1;
    case WM_UNINSTALL_FILES_DONE: g_filesDone = true; return 1;
    case WM_UNINSTALL_DONE: g_done = true; return 1;
    case WM_UNINSTALL_FAILED: g_failed = true; return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

BOOL KeepBatch(LPCSTR, LPSTR commandLine, LPCSTR, PROCESS_INFORMATION&) {
    const std::string command = commandLine;
    const size_t start = command.find("/c \"\"");
    if (start != std::string::npos && command.size() >= start + 6)
        g_batch = command.substr(start + 5, command.size() - 2 - (start + 5));
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: uninstall_demo RECORD_PATH [--quiet]\n");
        return 2;
    }
    g_quiet = argc > 2 && strcmp(argv[2], "--quiet") == 0;
    char dir[MAX_PATH] = {0};
    GetCurrentDirectoryA(sizeof(dir), dir);
    if (!(dir[0] == 'C' || dir[0] == 'c') || dir[1] != ':') {
        fprintf(stderr, "run with the current directory on drive C:\n");
        return 2;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QuilmUninstallDemo";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA(wc.lpszClassName, "Quilm uninstall", WS_OVERLAPPED, 0, 0, 10, 10,
                               NULL, NULL, wc.hInstance, NULL);
    CUninstallThread job;
    job.SetOwner(owner);
    job.m_pfnStartBatch = &KeepBatch;
    DWORD started = GetTickCount();
    if (!job.LoadRecord(argv[1])) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        printf("result: record unreadable%s\n", g_failed ? " (failure posted)" : "");
        DestroyWindow(owner);
        return 1;
    }
    printf("record: %d files, %d folders, %d controls, %d keys\n", job.CountEntries(kFileCopy),
           job.CountEntries(kMadeDir), job.CountEntries(kRegCtrl), job.CountEntries(kRegDbKey));
    if (!job.Start()) {
        fprintf(stderr, "cannot start the uninstall job\n");
        return 1;
    }
    job.WaitForEnd();
    DWORD elapsed = GetTickCount() - started;
    if (!g_batch.empty()) {
        DeleteFileA(g_batch.c_str());
        RemoveDirectoryA(g_batch.substr(0, g_batch.rfind('\\')).c_str());
    }
    printf("result: %s, %d progress messages, %lu ms\n", g_done ? "done" : "not finished",
           g_progress, static_cast<unsigned long>(elapsed));
    DestroyWindow(owner);
    return g_done && g_filesDone ? 0 : 1;
}
