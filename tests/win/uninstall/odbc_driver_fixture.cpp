// A test ODBC driver setup library: its ConfigDSN notes what the ODBC
// installer hands it under HKEY_CURRENT_USER\Software\QuilmTest\Odbc
// ("Request", "Driver", "Attributes" as hex bytes up to and including the
// empty pair that ends the list, "Calls").
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Store(HKEY key, const char* name, const std::string& text) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI
    ConfigDSN(HWND, WORD request, LPCSTR driver, LPCSTR attributes) {
    HKEY key = NULL;
    if (::RegCreateKeyA(HKEY_CURRENT_USER, "Software\\QuilmTest\\Odbc", &key) != ERROR_SUCCESS)
        return FALSE;
    std::string bytes;
    if (attributes) {
        const char* p = attributes;
        while (*p) p += strlen(p) + 1;  // pair by pair, to the empty one
        bytes.assign(attributes, static_cast<size_t>(p - attributes) + 1);
    }
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    char calls[16] = "1";
    DWORD size = sizeof(calls) - 1;
    if (::RegQueryValueExA(key, "Calls", NULL, NULL, reinterpret_cast<BYTE*>(calls), &size) ==
        ERROR_SUCCESS)
        snprintf(calls, sizeof(calls), "%d", atoi(calls) + 1);
    Store(key, "Calls", calls);
    Store(key, "Request", std::to_string(request));
    Store(key, "Driver", driver ? driver : "<null>");
    Store(key, "Attributes", hex);
    ::RegCloseKey(key);
    return TRUE;
}
