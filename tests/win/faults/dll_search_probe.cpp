// Loads a library by name the way the programs load the system's
// libraries, after restricting the search as they do at start when its
// first argument is "restrict"; then loads its second argument by full
// path.  Exit code: 1 when the by-name load succeeded, plus 2 when the
// full-path load succeeded, plus 4 when the search was limited to the
// system folder.
#include <windows.h>

#include <cstring>

#include "framework/AfxDllSearch.h"

int main(int argc, char** argv) {
    int code = 0;
    if (argc > 1 && std::strcmp(argv[1], "restrict") == 0 && AfxRestrictDllSearch()) code |= 4;
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (::LoadLibraryA("quilm_planted.dll")) code |= 1;
    if (argc > 2 && AfxLoadLibraryFromPath(argv[2])) code |= 2;
    return code;
}
