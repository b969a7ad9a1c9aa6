#include "AfxRegistry.h"

#include <cstring>
#include <vector>

LONG CRegKey::Open(HKEY root, LPCSTR path, REGSAM access) {
    HKEY key = NULL;
    LONG r = ::RegOpenKeyExA(root, path, 0, access, &key);
    Attach(r == ERROR_SUCCESS ? key : NULL);
    return r;
}

LONG CRegKey::Create(HKEY root, LPCSTR path, REGSAM access) {
    HKEY key = NULL;
    LONG r =
        ::RegCreateKeyExA(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL, &key, NULL);
    Attach(r == ERROR_SUCCESS ? key : NULL);
    return r;
}

LONG CRegKey::CreateWithAnyAccess(HKEY root, LPCSTR path, REGSAM view) {
    HKEY key = NULL;
    LONG r = ::RegCreateKeyExA(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED | view,
                               NULL, &key, NULL);
    Attach(r == ERROR_SUCCESS ? key : NULL);
    return r;
}

LONG CRegKey::QueryValue(LPCSTR name, std::string& text) const {
    text.clear();
    std::vector<char> buffer(256);
    for (;;) {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size());
        LONG r = ::RegQueryValueExA(m_h, name, NULL, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                    &size);
        if (r == ERROR_MORE_DATA) {
            // The value may have grown since the size was given: ask again.
            buffer.resize(size > buffer.size() ? size : buffer.size() * 2);
            continue;
        }
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
        // The value may lack its terminating zero; never read past it.
        text.assign(buffer.data(), strnlen(buffer.data(), size));
        return ERROR_SUCCESS;
    }
}

LONG CRegKey::QueryValue(LPCSTR name, DWORD& value) const {
    DWORD type = 0, size = sizeof(value), read = 0;
    LONG r = ::RegQueryValueExA(m_h, name, NULL, &type, reinterpret_cast<BYTE*>(&read), &size);
    if (r != ERROR_SUCCESS) return r;
    if (type != REG_DWORD || size != sizeof(read)) return ERROR_UNSUPPORTED_TYPE;
    value = read;
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryValueSize(LPCSTR name, DWORD& size) const {
    size = 0;
    return ::RegQueryValueExA(m_h, name, NULL, NULL, NULL, &size);
}

bool CRegKey::HasValue(LPCSTR name) const {
    return ::RegQueryValueExA(m_h, name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
}

LONG CRegKey::SetValue(LPCSTR name, LPCSTR text) {
    // Written straight from the caller's text: a long text (a search list
    // built from a long base list, say) is stored whole.
    size_t length = strlen(text ? text : "");
    if (length >= 0x7FFFFFFF) return ERROR_INVALID_PARAMETER;
    return ::RegSetValueExA(m_h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text ? text : ""),
                            static_cast<DWORD>(length + 1));
}

LONG CRegKey::SetValue(LPCSTR name, DWORD value) {
    return ::RegSetValueExA(m_h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value));
}

LONG CRegKey::EnumKey(DWORD index, std::string& name) const {
    char buffer[256];  // the longest key name the registry allows, and its zero
    DWORD size = sizeof(buffer);
    LONG r = ::RegEnumKeyExA(m_h, index, buffer, &size, NULL, NULL, NULL, NULL);
    name = r == ERROR_SUCCESS ? std::string(buffer, size) : std::string();
    return r;
}

LONG CRegKey::DeleteKey(HKEY root, LPCSTR path, REGSAM view) {
    return ::RegDeleteKeyExA(root, path, view, 0);
}

LONG CRegKey::DeleteKeyTree(HKEY root, LPCSTR path, REGSAM view) {
    CRegKey key;
    LONG r = key.Open(root, path, KEY_READ | view);
    if (r != ERROR_SUCCESS) return r;
    std::vector<std::string> names;
    std::string name;
    for (DWORD index = 0; key.EnumKey(index, name) == ERROR_SUCCESS; ++index) names.push_back(name);
    key.Close();
    const std::string prefix = std::string(path) + "\\";
    for (const std::string& sub : names) DeleteKeyTree(root, (prefix + sub).c_str(), view);
    return DeleteKey(root, path, view);
}

BOOL SetRegString(HKEY root, REGSAM view, LPCSTR keyPath, LPCSTR valueName, LPCSTR text) {
    CRegKey key;
    return key.CreateWithAnyAccess(root, keyPath, view) == ERROR_SUCCESS &&
           key.SetValue(valueName, text) == ERROR_SUCCESS;
}

BOOL GetRegString(HKEY root, REGSAM view, LPCSTR keyPath, LPCSTR valueName, std::string& text) {
    text.clear();
    CRegKey key;
    if (key.CreateWithAnyAccess(root, keyPath, view) != ERROR_SUCCESS) return FALSE;
    DWORD size = 0;
    if (key.QueryValueSize(valueName, size) != ERROR_SUCCESS || size > kRegValueBufferSize)
        return FALSE;
    return key.QueryValue(valueName, text) == ERROR_SUCCESS;
}

BOOL SetMachineDword(REGSAM view, LPCSTR keyPath, LPCSTR valueName, DWORD value) {
    CRegKey key;
    return key.CreateWithAnyAccess(HKEY_LOCAL_MACHINE, keyPath, view) == ERROR_SUCCESS &&
           key.SetValue(valueName, value) == ERROR_SUCCESS;
}

BOOL SetMachineString(REGSAM view, LPCSTR keyPath, LPCSTR valueName, LPCSTR text) {
    return SetRegString(HKEY_LOCAL_MACHINE, view, keyPath, valueName, text);
}

BOOL SetUserString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text) {
    return SetRegString(HKEY_CURRENT_USER, 0, keyPath, valueName, text);
}

BOOL GetMachineString(REGSAM view, LPCSTR keyPath, LPCSTR valueName, CString& text) {
    return GetRegString(HKEY_LOCAL_MACHINE, view, keyPath, valueName, text.str());
}

BOOL GetUserString(LPCSTR keyPath, LPCSTR valueName, CString& text) {
    return GetRegString(HKEY_CURRENT_USER, 0, keyPath, valueName, text.str());
}

bool AfxIsWindows64() {
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
#endif
}
