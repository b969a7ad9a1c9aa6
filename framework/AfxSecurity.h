// Access lists of files and folders: descriptors built from SDDL text,
// applied at creation or afterwards, read back as SDDL, and the question
// whether ordinary users of the workstation can change an object.
#pragma once

#include <windows.h>

#include <string>

#include "AfxHandle.h"

// A security descriptor the system allocated with LocalAlloc.
struct CLocalMemoryTraits {
    static bool IsValid(PSECURITY_DESCRIPTOR p) { return p != NULL; }
    static void Free(PSECURITY_DESCRIPTOR p) { ::LocalFree(p); }
};
using CSecurityDescriptor = CHandleT<PSECURITY_DESCRIPTOR, CLocalMemoryTraits>;

// The descriptor the SDDL text describes; invalid (with the system's error
// set) when the text is not understood.
CSecurityDescriptor AfxDescriptorFromSddl(const std::string& sddl);
// The access list of a descriptor as SDDL ("D:P(A;OICI;FA;;;SY)..."); empty
// when it cannot be converted.
std::string AfxDaclSddl(PSECURITY_DESCRIPTOR descriptor);
// The access list of a file or folder as the system reports it, as SDDL;
// empty when it cannot be read.
std::string AfxFileDaclSddl(LPCSTR path);
// Sets the access list of sddl on path, protected from inheritance
// (SetNamedSecurityInfo); the system's error code.
DWORD AfxSetProtectedDacl(LPCSTR path, const std::string& sddl);
// The account the process runs as, as a SID string ("S-1-5-18" for SYSTEM).
std::string AfxProcessUserSid();
// Whether the access list of path lets ordinary users write or delete it:
// an entry that grants a write, delete or ownership right to Everyone,
// Authenticated Users, Users, Interactive, or to the account itself (the
// unelevated side of an elevated administrator; not under Wine, which
// lists the account on every file).  No access list at all counts as
// writable, and so does one that cannot be read.
bool AfxUsersCanWrite(LPCSTR path);
