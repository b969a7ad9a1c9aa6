// A library planted beside the programs under the name of a system
// library they load by name.  Loading it leaves a mark in the registry, so
// a test sees whether it was ever loaded.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        HKEY key = NULL;
        if (::RegCreateKeyA(HKEY_CURRENT_USER, "Software\\QuilmTest\\Faults", &key) ==
            ERROR_SUCCESS) {
            char module[MAX_PATH + 1] = {0};
            ::GetModuleFileNameA(NULL, module, MAX_PATH);
            ::RegSetValueExA(key, "PlantedLoadedBy", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(module), lstrlenA(module) + 1);
            ::RegCloseKey(key);
        }
    }
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI SQLConfigDataSource(HWND, WORD, LPCSTR, LPCSTR) {
    return FALSE;
}
