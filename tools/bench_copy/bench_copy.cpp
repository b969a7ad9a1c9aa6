// Times the install engine's copy phase against xcopy on the same medium
// in the same Wine prefix.  Not a test: prints the figures.
//
// usage: bench_copy MEDIUM_DIR WORK_DIR [REPETITIONS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/paths.h"
#include "framework/AfxHandle.h"
#include "setup/SetupThread.h"

namespace {

// Runs only the copy phase (the nine trees and the root files).
class CopyPhaseJob : public CSetupThread {
protected:
    void Work() override {
        for (const char* name : kPackageFolders)
            if (!CopyFolderTree(m_strSourceDir + name, m_strDestDir + name)) break;
        CopyRootFiles();
    }
};

// Runs cmd with its output thrown away and waits for its end; false when
// it could not be started.
bool RunQuietly(std::string cmd) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    CHandle nul(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL));
    si.hStdOutput = si.hStdError = nul;
    SetHandleInformation(nul, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(NULL, &cmd[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) return false;
    CProcessHandles process;
    process.Attach(pi);
    WaitForSingleObject(process.process, INFINITE);
    return true;
}

LRESULT CALLBACK DoNothing(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void RemoveTree(const std::string& dir) {
    RunQuietly("cmd.exe /c rmdir /S /Q \"" + dir + "\"");
}

double TimeEngine(HWND owner, const std::string& src, const std::string& dst) {
    CopyPhaseJob job;
    job.m_strSourceDir = src.c_str();
    job.m_strDestDir = dst.c_str();
    double start = Now();
    job.Start(owner);
    job.WaitForEnd();
    return Now() - start;
}

double TimeXcopy(const std::string& src, const std::string& dst) {
    std::string cmd = "xcopy.exe \"" + src.substr(0, src.size() - 1) + "\" \"" +
                      dst.substr(0, dst.size() - 1) + "\" /E /I /Q /Y";
    double start = Now();
    if (!RunQuietly(cmd)) return -1;
    return Now() - start;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: bench_copy MEDIUM_DIR WORK_DIR [REPETITIONS]\n");
        return 2;
    }
    std::string src = WithTrailingBackslash(argv[1]);
    std::string work = WithTrailingBackslash(argv[2]);
    int reps = argc > 3 ? atoi(argv[3]) : 5;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DoNothing;
    wc.lpszClassName = "BenchOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA("BenchOwner", "", WS_OVERLAPPED, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    CreateDirectoryA(work.c_str(), NULL);

    std::vector<double> engine, xcopy, ratio;
    for (int i = 0; i < reps; ++i) {
        std::string a = work + "engine\\", b = work + "xcopy\\";
        RemoveTree(a);
        RemoveTree(b);
        // Alternate the order so that neither side always gets a warm cache.
        double te, tx;
        if (i % 2 == 0) {
            te = TimeEngine(owner, src, a);
            tx = TimeXcopy(src, b);
        } else {
            tx = TimeXcopy(src, b);
            te = TimeEngine(owner, src, a);
        }
        engine.push_back(te);
        xcopy.push_back(tx);
        ratio.push_back(te / tx);
        printf("run %d: engine %.3f s, xcopy %.3f s, ratio %.3f\n", i + 1, te, tx, te / tx);
    }
    printf("median: engine %.3f s, xcopy %.3f s, ratio engine/xcopy %.3f\n", Median(engine),
           Median(xcopy), Median(ratio));
    RemoveTree(work + "engine\\");
    RemoveTree(work + "xcopy\\");
    return 0;
}
