// A control whose registration fails.  Its unregistration leaves a mark in
// the registry, so a test sees that the uninstaller still called it.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    return E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    HKEY key = NULL;
    if (::RegCreateKeyA(HKEY_CURRENT_USER, "Software\\QuilmTest\\Faults", &key) == ERROR_SUCCESS) {
        DWORD one = 1;
        ::RegSetValueExA(key, "FailingUnregistered", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&one), sizeof(one));
        ::RegCloseKey(key);
    }
    return S_OK;
}
