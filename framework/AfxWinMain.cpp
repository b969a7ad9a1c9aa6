// The programs' entry point.  Built into each program as an object of its
// own (quilm_winmain), so a program that brings its own WinMain is free to.
#include "AfxDialog.h"
#include "AfxDllSearch.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    // Before anything is loaded late by name: never from the program's folder.
    AfxRestrictDllSearch();
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
