// The last configuring step: the Start-menu folder and the package's
// shortcuts, with one per AutoCAD release found.
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "InstallSteps.h"
#include "common/paths.h"
#include "common/product_v8.h"
#include "common/shell_folders.h"
#include "framework/AfxHandle.h"
#include "framework/AfxLog.h"
#include "framework/AfxRegistry.h"
#include "host/HostRegistry.h"
#include "resources/setup/resource.h"

namespace {

// Reads the desktop and programs folders as a pair from the first key that
// has both: the desktop value first, the programs value only when that was
// found.
bool FindFolders(HKEY root, REGSAM view, const ShellFolderValues& values, std::string& desktop,
                 std::string& programs) {
    for (const char* key : kShellFoldersKeys) {
        programs.clear();
        if (GetRegString(root, view, key, values.desktop, desktop) &&
            GetRegString(root, view, key, values.programs, programs))
            return true;
    }
    return false;
}

// The user's folders, else all users'.  A deployment tool installs for
// every user of the machine, often from the system's own account, whose
// desktop nobody sees: then all users' folders come first.
bool FindShellFolders(bool allUsersFirst, std::string& desktop, std::string& programs) {
    auto user = [&] {
        return FindFolders(HKEY_CURRENT_USER, 0, kUserFolderValues, desktop, programs);
    };
    // The shell of each bitness keeps these values in its own view: a
    // 64-bit Windows may have them only in the 64-bit one.
    auto all = [&] {
        return FindFolders(HKEY_LOCAL_MACHINE, kRegView32, kAllUsersFolderValues, desktop,
                           programs) ||
               FindFolders(HKEY_LOCAL_MACHINE, kRegView64, kAllUsersFolderValues, desktop,
                           programs);
    };
    return allUsersFirst ? all() || user() : user() || all();
}

}  // namespace

BOOL CreateShortcuts(const std::string& destDir, bool allUsersFirst, RecordAppender record,
                     const FolderMaker& makeFolder, FailedItems& failed) {
    std::string desktop, programs;
    if (!FindShellFolders(allUsersFirst, desktop, programs)) {
        AfxLog("no shortcuts: the Desktop and Programs folders are not known");
        failed.push_back(AfxLoadString(IDS_FAILED_NO_SHELL_FOLDERS).str());
        return FALSE;
    }
    const std::string desktopDir = WithTrailingBackslash(TrimBlanks(desktop));
    const std::string programsDir = WithTrailingBackslash(TrimBlanks(programs));

    // A cancelled folder prompt leaves the folder missing: the shortcuts
    // inside it then fail and go unrecorded, and the job goes on.
    const std::string menuDir = JoinPath(programsDir, v8::kDisplayName);
    makeFolder(menuDir);

    auto make = [&](const std::string& link, const std::string& target, LPCSTR arguments,
                    LPCSTR icon) {
        ::DeleteFileA(link.c_str());  // a shortcut of an earlier installation
        BOOL made = CreateShellLink(destDir.c_str(), link.c_str(), target.c_str(), arguments, icon);
        AfxLog("shortcut %s: %s -> %s", made ? "made" : "not made", link.c_str(), target.c_str());
        if (made) record.Add(kFileCopy, link);
        else AddFailedItem(failed, IDS_FAILED_SHORTCUT, link);
    };

    const std::string program = v8::ProgramPath(destDir);
    make(JoinPath(desktopDir, v8::kProgramShortcut), program, NULL, NULL);
    make(JoinPath(menuDir, v8::kProgramShortcut), program, NULL, NULL);

    const std::string arguments = v8::HostShortcutArguments();
    const std::string icon = v8::ShortcutIconPath(destDir);
    for (const HostRelease& release : kHostReleases) {
        HostInstall found;
        if (!FindHostRelease(release, found) || !HostHasModulesFor(release, found, destDir))
            continue;
        make(JoinPath(destDir, v8::HostShortcutName(release.shortcutYear)),
             JoinPath(found.folder, "acad.exe"), arguments.c_str(), icon.c_str());
    }

    make(JoinPath(menuDir, v8::kWebShortcut), JoinPath(destDir, v8::kWebLinkFile), NULL, NULL);
    make(JoinPath(menuDir, v8::kHelpShortcut), JoinPath(destDir, v8::kHelpFile), NULL, NULL);
    make(JoinPath(menuDir, v8::kUninstallerShortcut), v8::UninstallerPath(destDir), NULL, NULL);

    record.Add(kFileCopy, menuDir);
    return TRUE;
}

BOOL CreateShellLink(LPCSTR workDir, LPCSTR linkPath, LPCSTR target, LPCSTR arguments,
                     LPCSTR icon) {
    // The saved path must fit the conversion buffer whole, terminator
    // included; a longer one is refused before anything is made, rather
    // than cut short into a shortcut at some other path.
    WCHAR widePath[MAX_PATH];
    int needed = ::MultiByteToWideChar(CP_ACP, 0, linkPath, -1, NULL, 0);
    if (needed <= 0 || needed > MAX_PATH) return FALSE;
    if (::MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) != needed) return FALSE;

    // COM stays initialised on this thread from the first shortcut on.
    if (FAILED(::CoInitialize(NULL))) return FALSE;
    CComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.ReceiveVoid())))
        return FALSE;
    link->SetPath(target);
    if (arguments) link->SetArguments(arguments);
    if (icon) link->SetIconLocation(icon, 0);
    link->SetWorkingDirectory(workDir);

    CComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) return FALSE;
    return SUCCEEDED(file->Save(widePath, TRUE));
}
