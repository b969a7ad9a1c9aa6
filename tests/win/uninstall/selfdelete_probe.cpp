// Runs the uninstaller's self-deletion from a program of its own and ends:
// the batch it starts must then remove this program and its folder.
// "selfdelete_probe [tries [log]]": the batch gives up after tries tries
// and says so in the log at that path.
#include <cstdlib>

#include "framework/AfxLog.h"
#include "uninstall/UninstallThread.h"

int main(int argc, char** argv) {
    CUninstallThread job;
    if (argc > 1) job.m_selfDeleteTries = std::atoi(argv[1]);
    if (argc > 2) AfxGetLog().Open(argv[2]);
    job.SelfDelete();
    AfxGetLog().Close();
    return 0;
}
