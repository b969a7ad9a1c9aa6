// The install job's configuring steps, run after a complete copy phase in
// the order CSetupThread::Work gives.  Each takes only what it needs: the
// destination folder (ending with "\"), the record to append to, and what
// else is named.  Failures here do not stop the job; each goes to the log
// and, as a line for the person, to the failed items.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/install_log.h"

// What did not get done, one line each for the notice (from the string
// table: the kind of item, then its path or key).
typedef std::vector<std::string> FailedItems;
void AddFailedItem(FailedItems& failed, UINT textId, const std::string& what);

// FolderSecurity.cpp, before the copy phase: a missing install folder
// outside the Program Files folders is made with kInstallFolderDacl (SYSTEM
// and Administrators full control, Users read and execute, protected), one
// under Program Files with the list Program Files passes on; either way its
// "Temp" with kScratchFolderDacl (Users may make files and folders there,
// each creator owns what it makes).  One that existed is kept as it is and
// the log says whether ordinary users can write to it.
extern const char* const kInstallFolderDacl;
extern const char* const kScratchFolderDacl;
enum InstallFolderState {
    kFolderExisted,
    kFolderExistedWritable,
    kFolderInProgramFiles,
    kFolderMade,
    kFolderNotMade
};
// made, when given, gets the folders made, outermost first.
InstallFolderState PrepareInstallFolder(const std::string& destDir,
                                        std::vector<std::string>* made = nullptr);

// Controls.cpp: the controls this run copied, as the record's "File Copy: "
// entries name them: every "*.ocx" directly in destDir + "Control\", in
// record order.
std::vector<std::string> CopiedControls(const std::string& record, const std::string& destDir);
// Registers each of controls and records it, whether or not it registered.
// When ordinary users can write to the install folder, to its "Control" or
// to a control, that control is not loaded: it is a failed item and the log
// says why.
void RegisterControls(const std::string& destDir, const std::vector<std::string>& controls,
                      RecordAppender record, FailedItems& failed);
// TRUE when the control's DllRegisterServer returned S_OK.
BOOL RegisterControl(LPCSTR path);

// The AutoCAD releases found that the installation has no modules for (a
// 64-bit AutoCAD without the package's 64-bit ARX folder), one line each
// for the person: the release and its folder.
typedef std::vector<std::string> UnsupportedHosts;

// ProductKeys.cpp: the product key, the package profile in every AutoCAD
// release found that the installation has modules for, and the
// Add/Remove Programs entry (its size from bytesCopied).
void WriteProductKeys(const std::string& destDir, ULONGLONG bytesCopied, RecordAppender record,
                      FailedItems& failed, UnsupportedHosts& unsupported);

// ActiveSetup.cpp: the Active Setup component whose command (the per-user
// program in destDir) gives every other user the profiles at logon, and
// the installing user's stamp.  FALSE when the program is missing or a
// value was not written; a value not written is a failed item.
BOOL RegisterActiveSetup(const std::string& destDir, FailedItems& failed);

// Shortcuts.cpp: the Start-menu folder, made through makeFolder (which
// records it, and may ask), and the package's shortcuts, one per AutoCAD
// release found that the installation has modules for.  The Desktop and Programs folders are the
// user's, or all users' first when allUsersFirst.  FALSE when neither is known.
typedef std::function<bool(const std::string& folder)> FolderMaker;
BOOL CreateShortcuts(const std::string& destDir, bool allUsersFirst, RecordAppender record,
                     const FolderMaker& makeFolder, FailedItems& failed);
// One shortcut file; arguments and icon may be NULL, the icon index is 0.
BOOL CreateShellLink(LPCSTR workDir, LPCSTR linkPath, LPCSTR target, LPCSTR arguments, LPCSTR icon);
