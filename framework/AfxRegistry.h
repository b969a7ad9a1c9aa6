// The registry: CRegKey, the owner of an open key with typed reads and
// writes, and the string operations the programs use on the product's,
// the shell's and AutoCAD's keys.  Every registry call of both programs
// goes through this unit.
#pragma once

#include <windows.h>

#include <string>

#include "AfxHandle.h"
#include "AfxString.h"

// The two views of HKEY_LOCAL_MACHINE\SOFTWARE on 64-bit Windows: the one
// a 32-bit program is given unless it asks otherwise ("SOFTWARE\Wow6432Node"),
// and the 64-bit programs' own.  Every access to HKEY_LOCAL_MACHINE names one
// of them, so that a 32-bit and a 64-bit build of the same code reach the
// same keys; 32-bit Windows has one registry and ignores both flags.
const REGSAM kRegView32 = KEY_WOW64_32KEY;
const REGSAM kRegView64 = KEY_WOW64_64KEY;

// An open registry key.  Every function returns the system's error code
// (ERROR_SUCCESS when it worked).  Open never makes a key; Create makes
// it and its missing parents.
class CRegKey : public CHandleT<HKEY, CRegKeyTraits> {
public:
    LONG Open(HKEY root, LPCSTR path, REGSAM access = KEY_READ);
    LONG Create(HKEY root, LPCSTR path, REGSAM access = KEY_READ | KEY_WRITE);
    // Makes the key where missing and opens it with whatever access the
    // caller has (MAXIMUM_ALLOWED, as RegCreateKeyA asks): a key that
    // allows reading only still opens, and only a write to it fails.
    LONG CreateWithAnyAccess(HKEY root, LPCSTR path, REGSAM view);

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

    // Deletes one key that has no subkeys, in view (0 outside
    // HKEY_LOCAL_MACHINE).
    static LONG DeleteKey(HKEY root, LPCSTR path, REGSAM view);
    // Deletes a key with all its subkeys; the key's own result.
    static LONG DeleteKeyTree(HKEY root, LPCSTR path, REGSAM view);
};

// The string operations on the product's and AutoCAD's values, each in a
// view of HKEY_LOCAL_MACHINE (0 for HKEY_CURRENT_USER).  Queries
// clear their output, open the key with create semantics (probing a
// missing key leaves it behind, empty) and give TRUE with the text when a
// string value exists that fits the value buffer (see kRegValueBufferSize).
// Sets make the key path and store REG_SZ text with its terminating zero;
// a text of any length is written whole.  An empty value name addresses
// the key's default value.
BOOL SetMachineString(REGSAM view, LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL SetUserString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL GetMachineString(REGSAM view, LPCSTR keyPath, LPCSTR valueName, CString& text);
BOOL GetUserString(LPCSTR keyPath, LPCSTR valueName, CString& text);
BOOL SetRegString(HKEY root, REGSAM view, LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL GetRegString(HKEY root, REGSAM view, LPCSTR keyPath, LPCSTR valueName, std::string& text);

// The string queries read through a value buffer of this size: a value of
// more bytes than this, its terminating zero counted, reads as absent.
const DWORD kRegValueBufferSize = 2048;

// A REG_DWORD value under HKEY_LOCAL_MACHINE, making the key path.
BOOL SetMachineDword(REGSAM view, LPCSTR keyPath, LPCSTR valueName, DWORD value);

// Whether this is 64-bit Windows: a 64-bit program, or a 32-bit one
// running under WOW64.  Only then does HKEY_LOCAL_MACHINE have two views.
bool AfxIsWindows64();
