// Runs the uninstaller's self-deletion from a program of its own and ends:
// the batch it starts must then remove this program and its folder.
#include "uninstall/UninstallThread.h"

int main() {
    CUninstallThread job;
    job.SelfDelete();
    return 0;
}
