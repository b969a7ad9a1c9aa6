// What an installation of the package, edition 8.5, puts on a machine:
// the names Setup writes and everything that looks at an installation
// reads.  One constant per fact, one function per path or key derived
// from them.  Platform-free.
#pragma once

#include <string>

namespace v8 {

// HKEY_LOCAL_MACHINE: the product key and the Add/Remove Programs entry.
inline constexpr char kProductKey[] = "SOFTWARE\\Corvantix\\Quilm\\V8";
inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8";
// The package's name: Add/Remove Programs, and the Start-menu folder.
inline constexpr char kDisplayName[] = "土地整理规划设计软件 Quilm V8.5";
inline constexpr char kVersion[] = "8.5";
inline constexpr char kPublisher[] = "Corvantix有限公司";
// The AutoCAD profile the package lives in (HKEY_CURRENT_USER).
inline constexpr char kProfileName[] = "<<Quilm V8>>";

// Files of the install folder.
inline constexpr char kProgramFile[] = "Quilm.exe";
inline constexpr char kUninstallerFile[] = "Uninstall.exe";
inline constexpr char kHelpFile[] = "QuilmHelp.chm";
inline constexpr char kWebLinkFile[] = "Quilm.url";
// The icon file as the medium spells it (copied hidden) and as the
// AutoCAD shortcuts name it: one file, two spellings.
inline constexpr char kIconFile[] = "QuilmV8.5.ico";
inline constexpr char kShortcutIconFile[] = "QuilmV8.5.ICO";
// On the medium only: the installer itself, never copied.
inline constexpr char kSetupFile[] = "Setup.exe";

// destDir ends with "\".
std::string ProgramPath(const std::string& destDir);
std::string UninstallerPath(const std::string& destDir);
// "UninstallString": the uninstaller's path, quoted when it holds a blank.
std::string UninstallCommand(const std::string& destDir);
// "QuietUninstallString": the quoted path and "/VERYSILENT".
std::string QuietUninstallCommand(const std::string& destDir);
// "DisplayIcon": the uninstaller's first icon.
std::string DisplayIcon(const std::string& destDir);
std::string ShortcutIconPath(const std::string& destDir);
// The arguments of an AutoCAD shortcut: the package profile, the template.
std::string HostShortcutArguments();
// "Quilmfor2007.LNK" for the release whose shortcut year is 2007.
std::string HostShortcutName(int shortcutYear);

}  // namespace v8

// Both editions: the product key's value that names the install folder.
inline constexpr char kInstallPathValue[] = "installPath";
