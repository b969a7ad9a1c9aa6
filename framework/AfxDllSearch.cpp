#include "AfxDllSearch.h"

#include "AfxHandle.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
#ifndef LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
#define LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR 0x00000100
#endif

namespace {

// Set once on the user-interface thread before any worker starts.
BOOL g_bSearchRestricted = FALSE;

}  // namespace

BOOL AfxRestrictDllSearch() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    // Looked up by name: older systems lack the function, and a static
    // import would stop the program from starting there at all.
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    SetDefaultDllDirectoriesFn setDefault =
        kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(
                     ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
               : nullptr;
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        g_bSearchRestricted = TRUE;
        return TRUE;
    }
    // An empty string takes the current folder out of the search order.
    ::SetDllDirectoryA("");
    return FALSE;
}

HMODULE AfxLoadLibraryFromPath(LPCSTR path) {
    if (g_bSearchRestricted)
        return ::LoadLibraryExA(path, NULL,
                                LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The older search order, starting in the library's own folder.
    return ::LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HRESULT AfxRegisterServer(LPCSTR path, bool install) {
    DWORD oldMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    CLibrary library(AfxLoadLibraryFromPath(path));
    DWORD loadError = ::GetLastError();
    ::SetThreadErrorMode(oldMode, NULL);
    if (!library.IsValid()) return HRESULT_FROM_WIN32(loadError ? loadError : ERROR_MOD_NOT_FOUND);
    typedef HRESULT(STDAPICALLTYPE * EntryFn)();
    EntryFn entry = library.GetProc<EntryFn>(install ? "DllRegisterServer" : "DllUnregisterServer");
    if (!entry) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    return entry();
}
