#include "RegistryStrings.h"

#include <cstring>

BOOL SetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, LPCSTR text) {
    HKEY key = NULL;
    if (::RegCreateKeyA(root, keyPath, &key) != ERROR_SUCCESS) return FALSE;
    // Written straight from the caller's text: a long text (a search list
    // built from a long base list, say) is stored whole, never cut or
    // copied past a fixed buffer.
    size_t length = strlen(text ? text : "");
    BOOL ok =
        length < 0x7FFFFFFF &&
        ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text ? text : ""),
                         static_cast<DWORD>(length + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

BOOL GetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, CString& text) {
    text.Empty();
    HKEY key = NULL;
    if (::RegCreateKeyA(root, keyPath, &key) != ERROR_SUCCESS) return FALSE;
    char buffer[kRegValueBufferSize + 1];
    DWORD size = kRegValueBufferSize;
    BOOL ok = ::RegQueryValueExA(key, valueName, NULL, NULL, reinterpret_cast<BYTE*>(buffer),
                                 &size) == ERROR_SUCCESS;
    if (ok) {
        // The value may lack its terminating zero; never read past it.
        buffer[size < kRegValueBufferSize ? size : kRegValueBufferSize] = '\0';
        text = buffer;
    }
    ::RegCloseKey(key);
    return ok;
}

BOOL SetMachineString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text) {
    return SetRegString(HKEY_LOCAL_MACHINE, keyPath, valueName, text);
}

BOOL SetUserString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text) {
    return SetRegString(HKEY_CURRENT_USER, keyPath, valueName, text);
}

BOOL GetMachineString(LPCSTR keyPath, LPCSTR valueName, CString& text) {
    return GetRegString(HKEY_LOCAL_MACHINE, keyPath, valueName, text);
}

BOOL GetUserString(LPCSTR keyPath, LPCSTR valueName, CString& text) {
    return GetRegString(HKEY_CURRENT_USER, keyPath, valueName, text);
}
