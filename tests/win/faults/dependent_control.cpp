// A control that imports a helper library from its own folder.
#include <windows.h>

extern "C" __declspec(dllimport) int QuilmControlHelperValue();

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    return QuilmControlHelperValue() == 42 ? S_OK : E_FAIL;
}
