#include "AfxSecurity.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

CSecurityDescriptor AfxDescriptorFromSddl(const std::string& sddl) {
    PSECURITY_DESCRIPTOR descriptor = NULL;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                &descriptor, NULL))
        return CSecurityDescriptor();
    return CSecurityDescriptor(descriptor);
}

std::string AfxDaclSddl(PSECURITY_DESCRIPTOR descriptor) {
    LPSTR text = NULL;
    if (!descriptor || !::ConvertSecurityDescriptorToStringSecurityDescriptorA(
                           descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, NULL))
        return std::string();
    std::string sddl = text;
    ::LocalFree(text);
    return sddl;
}

namespace {

// The access list of path with the descriptor that holds it.
DWORD ReadDacl(LPCSTR path, CSecurityDescriptor& descriptor, PACL& dacl) {
    PSECURITY_DESCRIPTOR read = NULL;
    dacl = NULL;
    DWORD result = ::GetNamedSecurityInfoA(path, SE_FILE_OBJECT,
                                           DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION,
                                           NULL, NULL, &dacl, NULL, &read);
    descriptor.Attach(read);
    return result;
}

std::vector<BYTE> TokenInformation(TOKEN_INFORMATION_CLASS kind) {
    HANDLE token = NULL;
    std::vector<BYTE> data;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return data;
    CHandle owner(token);
    DWORD size = 0;
    ::GetTokenInformation(token, kind, NULL, 0, &size);
    data.resize(size);
    if (size == 0 || !::GetTokenInformation(token, kind, data.data(), size, &size)) data.clear();
    return data;
}

// Whether the system makes up the account's own entry on every file
// instead of keeping the list that was set: Wine does (it lists the Unix
// owner of the file with full control whatever was set, and names that
// account as the owner, see docs/WINE-NOTES.md), so there the entry and the
// owner tell nothing about who may write.  Windows keeps what was set.  The
// one place that tells the two apart.
bool AccountEntryIsMadeUp() {
    static const bool madeUp =
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL;
    return madeUp;
}

// The rights that change an object or what it holds.
const ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                  FILE_WRITE_ATTRIBUTES | FILE_DELETE_CHILD | DELETE | WRITE_DAC |
                                  WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// NT SERVICE\TrustedInstaller, which owns the system's own files.
const char kTrustedInstallerSid[] =
    "S-1-5-80-956008885-3425870976-2393837744-1856089264-2284225287";

// The accounts that may change what Setup installs: SYSTEM, Administrators,
// TrustedInstaller, and CREATOR OWNER (an entry for it is only passed on to
// what the owner creates, and the owner is judged on its own).
bool IsTrusted(PSID sid) {
    static PSID trustedInstaller = [] {
        PSID made = NULL;
        return ::ConvertStringSidToSidA(kTrustedInstallerSid, &made) ? made : NULL;
    }();
    return ::IsWellKnownSid(sid, WinLocalSystemSid) ||
           ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
           ::IsWellKnownSid(sid, WinCreatorOwnerSid) ||
           (trustedInstaller && ::EqualSid(sid, trustedInstaller));
}

// Whether sid is an account other than the trusted ones and passedOver.
bool IsOrdinary(PSID sid, PSID passedOver) {
    return !IsTrusted(sid) && !(passedOver && ::EqualSid(sid, passedOver));
}

}  // namespace

std::string AfxFileDaclSddl(LPCSTR path) {
    CSecurityDescriptor descriptor;
    PACL dacl = NULL;
    if (ReadDacl(path, descriptor, dacl) != ERROR_SUCCESS) return std::string();
    return AfxDaclSddl(descriptor);
}

DWORD AfxSetProtectedDacl(LPCSTR path, const std::string& sddl) {
    CSecurityDescriptor descriptor = AfxDescriptorFromSddl(sddl);
    if (!descriptor.IsValid()) return ::GetLastError();
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = NULL;
    if (!::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present)
        return ERROR_INVALID_SECURITY_DESCR;
    return ::SetNamedSecurityInfoA(const_cast<LPSTR>(path), SE_FILE_OBJECT,
                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                   NULL, NULL, dacl, NULL);
}

std::string AfxProcessUserSid() {
    std::vector<BYTE> user = TokenInformation(TokenUser);
    LPSTR text = NULL;
    if (user.empty() ||
        !::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text))
        return std::string();
    std::string sid = text;
    ::LocalFree(text);
    return sid;
}

bool AfxOthersCanWrite(PSECURITY_DESCRIPTOR descriptor, PSID passedOver) {
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = NULL;
    PSID owner = NULL;
    // No access list, or one that cannot be read, lets everyone in; an
    // owner may always rewrite the list.
    if (!descriptor || !::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) ||
        !present || dacl == NULL)
        return true;
    if (!::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || owner == NULL ||
        IsOrdinary(owner, passedOver))
        return true;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        LPVOID entry = NULL;
        if (!::GetAce(dacl, i, &entry)) return true;
        const ACE_HEADER* header = static_cast<const ACE_HEADER*>(entry);
        // Deny entries and audit entries grant nothing.  An inherit-only
        // entry counts too: it gives its rights to what is made inside.
        switch (header->AceType) {
        case ACCESS_ALLOWED_ACE_TYPE:
        case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
            // Both lay out the mask and the SID alike.
            const ACCESS_ALLOWED_ACE* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
            PSID sid = const_cast<DWORD*>(&allowed->SidStart);
            if ((allowed->Mask & kChangeRights) && IsOrdinary(sid, passedOver)) return true;
            break;
        }
        case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
        case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
            // Not used on files; its SID is not judged: any change right counts.
            if (static_cast<const ACCESS_ALLOWED_OBJECT_ACE*>(entry)->Mask & kChangeRights)
                return true;
            break;
        default: break;
        }
    }
    return false;
}

bool AfxUsersCanWrite(LPCSTR path) {
    CSecurityDescriptor descriptor;
    PACL dacl = NULL;
    if (ReadDacl(path, descriptor, dacl) != ERROR_SUCCESS) return true;
    std::vector<BYTE> user;
    if (AccountEntryIsMadeUp()) user = TokenInformation(TokenUser);
    PSID madeUp = user.empty() ? NULL : reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    return AfxOthersCanWrite(descriptor, madeUp);
}
