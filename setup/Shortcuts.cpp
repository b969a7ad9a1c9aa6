// The last configuring step: the Start-menu folder and the package's
// shortcuts, with one per AutoCAD release found.
#include "SetupThread.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "../common/paths.h"
#include "../common/record_scope.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxHandle.h"
#include "../framework/AfxRegistry.h"

namespace {

// Reads the desktop and programs folders as a pair from one key: the
// desktop value first, the programs value only when that was found.
BOOL ReadFolderPair(HKEY root, LPCSTR key, LPCSTR desktopValue, LPCSTR programsValue,
                    CString& desktop, CString& programs) {
    programs.Empty();
    return GetRegString(root, key, desktopValue, desktop) &&
           GetRegString(root, key, programsValue, programs);
}

BOOL FindUserFolders(CString& desktop, CString& programs) {
    return ReadFolderPair(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", "Programs", desktop,
                          programs) ||
           ReadFolderPair(HKEY_CURRENT_USER, kShellFoldersKeyNT, "Desktop", "Programs", desktop,
                          programs);
}

BOOL FindAllUsersFolders(CString& desktop, CString& programs) {
    return ReadFolderPair(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Common Desktop", "Common Programs",
                          desktop, programs) ||
           ReadFolderPair(HKEY_LOCAL_MACHINE, kShellFoldersKeyNT, "Common Desktop",
                          "Common Programs", desktop, programs);
}

// The user's folders, else all users'.  A deployment tool installs for
// every user of the machine, often from the system's own account, whose
// desktop nobody sees: then all users' folders come first.
BOOL FindShellFolders(bool allUsersFirst, CString& desktop, CString& programs) {
    if (allUsersFirst)
        return FindAllUsersFolders(desktop, programs) || FindUserFolders(desktop, programs);
    return FindUserFolders(desktop, programs) || FindAllUsersFolders(desktop, programs);
}

}  // namespace

BOOL CSetupThread::CreateShortcuts() {
    CString desktop, programs;
    if (!FindShellFolders(m_bSilent, desktop, programs)) {
        AfxLog("no shortcuts: the Desktop and Programs folders are not known");
        return FALSE;
    }
    std::string desktopDir = WithTrailingBackslash(TrimBlanks(desktop.str()));
    std::string programsDir = WithTrailingBackslash(TrimBlanks(programs.str()));

    // A cancelled folder prompt leaves the folder missing: the shortcuts
    // inside it then fail and go unrecorded, and the job goes on.
    CString menuDir(JoinPath(programsDir, kDisplayName));
    MakeDirPath(menuDir);

    const std::string dest = m_strDestDir.str();
    const std::string program = JoinPath(dest, kProgramFile);
    auto make = [&](const std::string& link, const std::string& target, LPCSTR arguments,
                    LPCSTR icon) {
        ::DeleteFileA(link.c_str());  // a shortcut of an earlier installation
        BOOL made = CreateShellLink(m_strDestDir, link.c_str(), target.c_str(), arguments, icon);
        AfxLog("shortcut %s: %s -> %s", made ? "made" : "not made", link.c_str(), target.c_str());
        if (made) RecordFileCopy(CString(link));
    };

    make(JoinPath(desktopDir, "土地整理规划设计.LNK"), program, NULL, NULL);
    make(JoinPath(menuDir.str(), "土地整理规划设计.LNK"), program, NULL, NULL);

    const std::string arguments = std::string("/p \"") + kProfileName + "\" /t acad.dwt";
    const std::string icon = JoinPath(dest, "QuilmV8.5.ICO");
    for (const HostRelease& release : kHostReleases) {
        CString acadFolder;
        if (!FindHostRelease(release, acadFolder)) continue;
        CString name;
        name.Format("Quilmfor%d.LNK", release.shortcutYear);
        make(JoinPath(dest, name.str()), JoinPath(acadFolder.str(), "acad.exe"), arguments.c_str(),
             icon.c_str());
    }

    make(JoinPath(menuDir.str(), "Corvantix网站.LNK"), JoinPath(dest, "Quilm.url"), NULL, NULL);
    make(JoinPath(menuDir.str(), "Quilm V8.5 在线帮助.LNK"), JoinPath(dest, "QuilmHelp.chm"), NULL,
         NULL);
    make(JoinPath(menuDir.str(), "Quilm V8.5 卸载程序.LNK"), JoinPath(dest, kUninstallerFile), NULL,
         NULL);

    RecordFileCopy(menuDir);
    return TRUE;
}

BOOL CSetupThread::CreateShellLink(LPCSTR workDir, LPCSTR linkPath, LPCSTR target, LPCSTR arguments,
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
