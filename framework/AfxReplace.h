// Replacing files that may be in use, and deleting them at the restart.
// A file that a running program holds cannot be overwritten or deleted;
// Windows lets such a file be renamed within its folder when the holder
// shares it for deletion (a loaded module is held so), and carries out
// moves recorded for the next restart (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT, which needs an administrator).  Used by the
// installer's copy, and by the uninstaller.  No window code.
#pragma once

#include <windows.h>

#include <string>

// Copies source onto target.  A target the system refuses because of its
// read-only, hidden or system attribute loses them first.  A target in
// use is renamed aside within its folder and the new file copied into
// place, the old one deleted at the next restart; one that cannot even be
// renamed gets the new file beside it, moved into place at the restart.
// ERROR_SUCCESS; ERROR_SUCCESS_REBOOT_REQUIRED when the restart completes
// the replacement; otherwise the system's error, the target as it was.
// A target known to exist is deleted first when nothing holds it, so
// that the copy makes it anew rather than opening it to compare it with
// the source (which asks the volume for its serial number each time).
// staged, when given, gets the file waiting beside the target, if any.
DWORD AfxCopyOver(LPCSTR source, LPCSTR target, bool targetExists = false,
                  std::string* staged = nullptr);

// Whether error says that a running program holds the file.
bool AfxIsInUse(DWORD error);

// Records path (a file, or a folder that is empty by then) for deletion
// at the next restart.  ERROR_SUCCESS_REBOOT_REQUIRED, or the system's
// error.
DWORD AfxDeleteAtRestart(LPCSTR path);

// Moves path aside within its folder to a free name of the form
// "name.~N"; ERROR_SUCCESS with aside set, or the system's error.
DWORD AfxMoveAside(const std::string& path, std::string& aside);
