// Times the install engine's copy phase against xcopy on the same medium
// in the same Wine prefix, a reinstall over the engine's copy against that
// fresh copy, and the undo of a fresh copy against the copy.  Not a test:
// prints the figures.
//
// usage: bench_copy MEDIUM_DIR WORK_DIR [REPETITIONS | engine]
// "engine" runs the engine's copy phase once into WORK_DIR\engine\ and
// nothing else, for tracing it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/paths.h"
#include "framework/AfxHandle.h"
#include "setup/CopyPage.h"
#include "setup/SetupThread.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Runs the copy phase (the nine trees and the root files), then writes
// the install record, the one configuring step whose work grows with the
// package; the second is timed apart.  With undo, the trees are copied
// and then undone as a stopped run undoes them, and undoEnd is set.
class CopyPhaseJob : public CSetupThread {
public:
    bool undo = false;
    double copyEnd = 0, undoEnd = 0;

protected:
    void Work() override {
        const bool copied = CopyTrees();
        if (undo) {
            copyEnd = Now();
            UndoCopyPhase();
            undoEnd = Now();
            return;
        }
        if (copied) m_journal.Commit(m_atRestart);
        CopyRootFiles();
        copyEnd = Now();
        WriteRecordFile();
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

void RemoveTree(const std::string& dir) {
    RunQuietly("cmd.exe /c rmdir /S /Q \"" + dir + "\"");
}

// The copy phase's time; record gets the time of writing the record, or
// with undo the time of undoing the trees.
double TimeEngine(HWND owner, const std::string& src, const std::string& dst, double& record,
                  bool undo = false) {
    CopyPhaseJob job;
    job.undo = undo;
    job.m_strSourceDir = src.c_str();
    job.m_strDestDir = dst.c_str();
    double start = Now();
    job.Start(owner);
    job.WaitForEnd();
    record = (undo ? job.undoEnd : Now()) - job.copyEnd;
    return job.copyEnd - start;
}

double TimeXcopy(const std::string& src, const std::string& dst) {
    std::string cmd = "xcopy.exe \"" + src.substr(0, src.size() - 1) + "\" \"" +
                      dst.substr(0, dst.size() - 1) + "\" /E /I /Q /Y";
    double start = Now();
    if (!RunQuietly(cmd)) return -1;
    return Now() - start;
}

// The host's load average, read through Wine's Z: drive (the host's
// root); "n/a" elsewhere.
std::string LoadAverage() {
    char text[64] = "n/a";
    if (FILE* f = fopen("Z:\\proc\\loadavg", "r")) {
        if (!fgets(text, sizeof(text), f)) strcpy(text, "n/a");
        fclose(f);
    }
    std::string load(text);
    // The three averages only.
    size_t end = 0;
    for (int fields = 0; fields < 3 && end != std::string::npos; ++fields)
        end = load.find(' ', end + (fields ? 1 : 0));
    return end == std::string::npos ? load : load.substr(0, end);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: bench_copy MEDIUM_DIR WORK_DIR [REPETITIONS | engine]\n");
        return 2;
    }
    std::string src = WithTrailingBackslash(argv[1]);
    std::string work = WithTrailingBackslash(argv[2]);
    int reps = argc > 3 ? atoi(argv[3]) : 6;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DoNothing;
    wc.lpszClassName = "BenchOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA("BenchOwner", "", WS_OVERLAPPED, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    CreateDirectoryA(work.c_str(), NULL);
    if (argc > 3 && strcmp(argv[3], "engine") == 0) {
        double record = 0;
        double copy = TimeEngine(owner, src, work + "engine\\", record);
        printf("engine: copy %.3f s, record %.3f s\n", copy, record);
        return 0;
    }

    std::vector<double> engine, xcopy, ratio, reinstall, undo;
    printf("load average before: %s\n", LoadAverage().c_str());
    // The copy page counts the package's files before the job starts.
    double countStart = Now();
    int files = CCopyPage::CountPackageFiles(src.c_str());
    printf("file count: %d files in %.3f s\n", files, Now() - countStart);
    for (int i = 0; i < reps; ++i) {
        std::string load = LoadAverage();
        std::string a = work + "engine\\", b = work + "xcopy\\";
        // Alternate the order so that neither side always goes first, and
        // remove each side's earlier copy right before it runs, so that
        // both pay alike for the removal the file system finishes later.
        double te, tx, record = 0;
        if (i % 2 == 0) {
            RemoveTree(a);
            te = TimeEngine(owner, src, a, record);
            RemoveTree(b);
            tx = TimeXcopy(src, b);
        } else {
            RemoveTree(b);
            tx = TimeXcopy(src, b);
            RemoveTree(a);
            te = TimeEngine(owner, src, a, record);
        }
        // A reinstall: the same medium again over the engine's copy.
        double unused = 0;
        const double tr = TimeEngine(owner, src, a, unused);
        // A fresh copy of the trees, stopped at their end and undone.
        double tu = 0;
        const double tc = TimeEngine(owner, src, work + "undo\\", tu, true);
        engine.push_back(te);
        xcopy.push_back(tx);
        ratio.push_back(te / tx);
        reinstall.push_back(tr / te);
        undo.push_back(tu / tc);
        printf(
            "pair %d (load %s): engine %.3f s, xcopy %.3f s, ratio %.3f; record written in %.3f "
            "s; reinstall %.3f s, %.3f x the fresh copy; undo %.3f s, %.3f x its copy\n",
            i + 1, load.c_str(), te, tx, te / tx, record, tr, tr / te, tu, tu / tc);
    }
    printf("load average after: %s\n", LoadAverage().c_str());
    printf("median of %d pairs: engine %.3f s, xcopy %.3f s, ratio engine/xcopy %.3f\n", reps,
           Median(engine), Median(xcopy), Median(ratio));
    printf("median ratio reinstall/fresh copy: %.3f\n", Median(reinstall));
    printf("median ratio undo/its copy: %.3f\n", Median(undo));
    RemoveTree(work + "engine\\");
    RemoveTree(work + "xcopy\\");
    return 0;
}
