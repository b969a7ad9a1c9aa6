// The registry: CRegKey, the owner of an open key with typed reads and
// writes, and the string operations the programs use on the product's,
// the shell's and AutoCAD's keys.  Every registry call of both programs
// goes through this unit.
#pragma once

#include <windows.h>

#include <string>

#include "AfxHandle.h"
#include "AfxString.h"

// An open registry key.  Every function returns the system's error code
// (ERROR_SUCCESS when it worked).  Open never makes a key; Create makes
// it and its missing parents.
class CRegKey : public CHandleT<HKEY, CRegKeyTraits> {
public:
    LONG Open(HKEY root, LPCSTR path, REGSAM access = KEY_READ);
    LONG Create(HKEY root, LPCSTR path, REGSAM access = KEY_READ | KEY_WRITE);
    // Makes the key where missing and opens it with whatever access the
    // caller has (RegCreateKeyA): a key that allows reading only still
    // opens, and only a write to it fails.
    LONG CreateWithAnyAccess(HKEY root, LPCSTR path);

    // A REG_SZ or REG_EXPAND_SZ value (not expanded), up to its first
    // zero, of any length: the buffer grows on ERROR_MORE_DATA.  Another
    // type gives ERROR_UNSUPPORTED_TYPE.  The text is empty on failure.
    LONG QueryValue(LPCSTR name, std::string& text) const;
    LONG QueryValue(LPCSTR name, CString& text) const { return QueryValue(name, text.str()); }
    // A REG_DWORD value; another type gives ERROR_UNSUPPORTED_TYPE.
    LONG QueryValue(LPCSTR name, DWORD& value) const;
    // The stored size in bytes of a value of any type.
    LONG QueryValueSize(LPCSTR name, DWORD& size) const;
    bool HasValue(LPCSTR name) const;

    // REG_SZ text with its terminating zero, written whole.
    LONG SetValue(LPCSTR name, LPCSTR text);
    LONG SetValue(LPCSTR name, DWORD value);
    // The name of subkey number index; ERROR_NO_MORE_ITEMS past the last.
    LONG EnumKey(DWORD index, std::string& name) const;

    // Deletes one key that has no subkeys.
    static LONG DeleteKey(HKEY root, LPCSTR path);
    // Deletes a key with all its subkeys; the key's own result.
    static LONG DeleteKeyTree(HKEY root, LPCSTR path);
};

// The string operations on the product's and AutoCAD's values.  Queries
// clear their output, open the key with create semantics (probing a
// missing key leaves it behind, empty) and give TRUE with the text when a
// string value exists that fits the value buffer (see kRegValueBufferSize).
// Sets make the key path and store REG_SZ text with its terminating zero;
// a text of any length is written whole.  An empty value name addresses
// the key's default value.
BOOL SetMachineString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL SetUserString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL GetMachineString(LPCSTR keyPath, LPCSTR valueName, CString& text);
BOOL GetUserString(LPCSTR keyPath, LPCSTR valueName, CString& text);
BOOL SetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL GetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, std::string& text);

// The string queries read through a value buffer of this size: a value of
// more bytes than this, its terminating zero counted, reads as absent.
const DWORD kRegValueBufferSize = 2048;

// A REG_DWORD value under HKEY_LOCAL_MACHINE, making the key path.
BOOL SetMachineDword(LPCSTR keyPath, LPCSTR valueName, DWORD value);
