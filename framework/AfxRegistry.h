// Registry string values under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
//
// Queries clear their output, open the key with create semantics (a
// missing key is left behind, empty), read through a 2048-byte buffer
// without looking at the value type, and return TRUE with the text when
// the value exists and fits.  Sets create the key path and store REG_SZ
// text with its terminating zero; a text of any length is written whole.
// An empty value name addresses the key's default value.
#pragma once

#include <windows.h>

#include "AfxString.h"

const DWORD kRegValueBufferSize = 2048;

BOOL SetMachineString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL SetUserString(LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL GetMachineString(LPCSTR keyPath, LPCSTR valueName, CString& text);
BOOL GetUserString(LPCSTR keyPath, LPCSTR valueName, CString& text);

// A REG_DWORD value under HKEY_LOCAL_MACHINE, making the key path.
BOOL SetMachineDword(LPCSTR keyPath, LPCSTR valueName, DWORD value);

// The same for any root.
BOOL SetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, LPCSTR text);
BOOL GetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, CString& text);
BOOL GetRegString(HKEY root, LPCSTR keyPath, LPCSTR valueName, std::string& text);
