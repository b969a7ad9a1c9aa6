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
// On the medium only: the installer itself, never copied, and the folder
// of the pictures the wizard shows.
inline constexpr char kSetupFile[] = "Setup.exe";
inline constexpr char kSlideFolder[] = "安装界面";

// The package's folder trees, copied from the medium in this order.
inline constexpr const char* kPackageFolders[9] = {
    "Support", "Control", "Database", "线型库", "填充图案", "图框", "图例", "图库", "Temp"};

// The product key's layer names, as the package reads them.
struct NamedValue {
    const char* name;
    const char* value;
};
inline constexpr NamedValue kLayerValues[] = {{"OriginLayer", "原始标高"},
                                              {"DesignLayer", "设计标高"},
                                              {"OriginContourLayer", "原始等高线"},
                                              {"DesignContourLayer", "设计等高线"}};

// Shortcut files: the program's (on the Desktop and in the Start-menu
// folder), and the Start-menu folder's others.
inline constexpr char kProgramShortcut[] = "土地整理规划设计.LNK";
inline constexpr char kWebShortcut[] = "Corvantix网站.LNK";
inline constexpr char kHelpShortcut[] = "Quilm V8.5 在线帮助.LNK";
inline constexpr char kUninstallerShortcut[] = "Quilm V8.5 卸载程序.LNK";

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
