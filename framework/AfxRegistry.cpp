#include "AfxRegistry.h"

#include <cstring>

#include "AfxHandle.h"

namespace {

// RegCreateKeyA's own access: whatever the caller may have.  A key that
// allows reading only still opens, and only the write fails.
LONG OpenOrCreate(HKEY root, LPCSTR keyPath, CRegKey& key) {
    HKEY raw = NULL;
    LONG r = ::RegCreateKeyA(root, keyPath, &raw);
    if (r == ERROR_SUCCESS) key.Attach(raw);
    return r;
}

}  // namespace

BOOL SetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, LPCSTR text) {
    CRegKey key;
    if (OpenOrCreate(root, keyPath, key) != ERROR_SUCCESS) return FALSE;
    // Written straight from the caller's text: a long text (a search list
    // built from a long base list, say) is stored whole, never cut or
    // copied past a fixed buffer.
    size_t length = strlen(text ? text : "");
    BOOL ok =
        length < 0x7FFFFFFF &&
        ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text ? text : ""),
                         static_cast<DWORD>(length + 1)) == ERROR_SUCCESS;
    return ok;
}

BOOL GetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, CString& text) {
    text.Empty();
    CRegKey key;
    if (OpenOrCreate(root, keyPath, key) != ERROR_SUCCESS) return FALSE;
    char buffer[kRegValueBufferSize + 1];
    DWORD size = kRegValueBufferSize;
    BOOL ok = ::RegQueryValueExA(key, valueName, NULL, NULL, reinterpret_cast<BYTE*>(buffer),
                                 &size) == ERROR_SUCCESS;
    if (ok) {
        // The value may lack its terminating zero; never read past it.
        buffer[size < kRegValueBufferSize ? size : kRegValueBufferSize] = '\0';
        text = buffer;
    }
    return ok;
}

BOOL GetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, std::string& text) {
    CString value;
    BOOL ok = GetRegString(root, keyPath, valueName, value);
    text = value.str();
    return ok;
}

BOOL SetMachineDword(LPCSTR keyPath, LPCSTR valueName, DWORD value) {
    CRegKey key;
    if (OpenOrCreate(HKEY_LOCAL_MACHINE, keyPath, key) != ERROR_SUCCESS) return FALSE;
    return ::RegSetValueExA(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
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
