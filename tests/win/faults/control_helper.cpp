// A helper library that a control imports; it sits beside the control.
#include <windows.h>

extern "C" __declspec(dllexport) int QuilmControlHelperValue() {
    return 42;
}
