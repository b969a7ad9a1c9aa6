// The package's Active Setup component: the per-user part of a
// machine-wide installation, which Windows applies once to every user at
// logon (the making command), and after removal the command that takes
// the package profiles away again.  Key paths, value formats and the
// commands.  Platform-free.
#pragma once

#include <string>
#include <vector>

namespace active_setup {

// The component's fixed name.
inline constexpr char kGuid[] = "{6E39D321-ED1D-4D66-ADDC-4B86FBB2B34E}";

// "ComponentID" of the component.
inline constexpr char kComponentId[] = "Quilm V8";

// HKEY_LOCAL_MACHINE (64-bit view): the component, with its display name
// as default value, "ComponentID", "IsInstalled", "Version", "StubPath".
std::string MachineKeyPath();
// HKEY_CURRENT_USER: a user's stamp, "Version" of what was applied.
std::string UserKeyPath();

// The per-user program, installed beside the package's other programs.
inline constexpr char kUserProgramFile[] = "QuilmUser.exe";

// "Version": the next one after previous (the value found, or empty).
// It is "year,monthday,count" ("2026,1208,1"): today's date with count 1,
// or the previous date with its count one higher when that date is not
// earlier than today; so it grows with every installation and removal,
// also when the clock went back, and again when the key was deleted on a
// later day.  A previous value that is not of this form counts as none.
std::string NextVersion(const std::string& previous, int year, int month, int day);

// "StubPath" of an installation: the per-user program, quoted.
std::string MakingCommand(const std::string& destDir);

// "StubPath" after removal: the system's command interpreter and reg.exe
// by their full paths (systemDir ends with "\"), deleting each of
// profileKeys (HKEY_CURRENT_USER paths) with every key quoted.  Nothing of
// the package is needed to run it.
std::string RemovalCommand(const std::string& systemDir,
                           const std::vector<std::string>& profileKeys);

}  // namespace active_setup
