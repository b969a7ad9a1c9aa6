// Where the program lets Windows look for libraries it loads at run time.
#pragma once

#include <windows.h>

// Restricts the search for libraries loaded by name to the system folder,
// so that a library of the same name planted beside the program (on the
// distribution medium, in the install folder, in the current folder) is
// never loaded.  Uses SetDefaultDllDirectories where the system has it;
// older systems only lose the current folder from the search.  Libraries
// loaded by their full path are not affected.  Returns TRUE when the
// search is limited to the system folder, FALSE when only the current
// folder was removed.
BOOL AfxRestrictDllSearch();

// Loads a library by its full path.  Its own folder is searched for the
// libraries it depends on (before the system folder), as a control whose
// helper library sits beside it needs; the program's folder is not.
HMODULE AfxLoadLibraryFromPath(LPCSTR path);

// Calls the self-registration entry of the library at path, loaded as
// AfxLoadLibraryFromPath loads it and freed again: DllRegisterServer when
// install is true, DllUnregisterServer when it is false.  The system's
// error boxes are suppressed on this thread meanwhile, so a file that is
// no loadable library fails quietly.  Returns the entry's result, or a
// failure code when the library cannot be loaded or lacks the entry.
HRESULT AfxRegisterServer(LPCSTR path, bool install);
