// The package's Active Setup component in the registry (see
// common/active_setup.h): written by Setup with the making command and by
// the uninstaller with the removal command, always in the 64-bit view of
// HKEY_LOCAL_MACHINE, the one Windows' logon processing reads for the
// user's stamp under HKEY_CURRENT_USER "Software\Microsoft\Active Setup".
#pragma once

#include <string>

// Writes the component with stubPath as its command and the next
// "Version" after the one there; version is the one written.  Each value
// and its outcome go to the log; false when one was not written.
bool WriteActiveSetupComponent(const std::string& stubPath, std::string& version);

// The current user's stamp: version counts as applied for this user.
bool StampActiveSetupUser(const std::string& version);
