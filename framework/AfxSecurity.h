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
// Whether a descriptor lets an account other than SYSTEM, Administrators,
// TrustedInstaller and CREATOR OWNER change the object (or, through an
// inherited entry, what is made in it): an allow entry that grants such an
// account a write, delete, change-permissions or take-ownership right, or
// such an account as the owner, who may always rewrite the list.  Deny
// entries are not weighed.  No access list, one that cannot be read and no
// owner count as writable.  passedOver, when given, is not counted.
bool AfxOthersCanWrite(PSECURITY_DESCRIPTOR descriptor, PSID passedOver = NULL);
// AfxOthersCanWrite on the list and owner of path as the system reports
// them; a path whose descriptor cannot be read counts as writable.  Under
// Wine the account that runs us is passed over, because Wine names it as
// owner with full control on every file whatever was set.
bool AfxUsersCanWrite(LPCSTR path);
