// The programs' entry point.  Built into each program as an object of its
// own (quilm_winmain), so a program that brings its own WinMain is free to.
#include <string>

#include "../common/command_line.h"
#include "AfxDialog.h"
#include "AfxDllSearch.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    // Before anything is loaded late by name: never from the program's folder.
    AfxRestrictDllSearch();
    // The arguments come from the whole command line: the runtime's cut
    // goes wrong after an unquoted program path with double-byte
    // characters ("C:\安装光盘\Setup.exe /SILENT").
    static std::string arguments = ArgumentsOf(::GetCommandLineA());
    return AfxWinMain(hInstance, &arguments[0], nCmdShow);
}
