// Removal inside a checked folder: what lies in one folder is deleted
// through that folder's own handle, so that the checks are paid once per
// folder rather than once per file.  The folder is opened without
// following a reparse point and checked by its final path; each entry is
// then opened relative to the folder's handle, again without following a
// reparse point, and deleted through that open.  An entry opened that way
// cannot lead out of the checked folder: a folder on the way swapped for a
// link after the check is not on the way any more, and a link inside is
// opened as itself.  Used by the uninstaller, and by the installer to undo
// what a stopped run made.  No window code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "AfxHandle.h"

class CCheckedFolder {
public:
    // Opens folder (base itself or a folder inside it) and checks it: no
    // component from below base down to folder is a reparse point, and
    // folder's final path is base's or lies inside it.  Lists the names of
    // the reparse points directly inside it.  ERROR_SUCCESS when open;
    // ERROR_CANT_ACCESS_FILE when a check failed; otherwise the system's
    // error (ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND: not there).
    DWORD Open(const std::string& base, const std::string& folder);
    void Close();
    bool IsOpen() const { return m_folder.IsValid(); }
    // base and folder as given to the last Open, whatever its outcome.
    const std::string& Base() const { return m_base; }
    const std::string& Path() const { return m_path; }
    DWORD OpenError() const { return m_openError; }

    // Whether name (one component) was a reparse point inside the folder
    // when it was opened.
    bool IsReparsePoint(const std::string& name) const;

    // Deletes the file, or removes the empty folder, name (one component)
    // of the open folder.  ERROR_SUCCESS once it is gone; ERROR_FILE_NOT_FOUND
    // when it was not there; ERROR_DIR_NOT_EMPTY for a folder that stays;
    // ERROR_CANT_ACCESS_FILE for a name that is no single component or for
    // a reparse point; otherwise the system's error.
    DWORD Remove(const std::string& name, bool folder);

private:
    CHandle m_folder;
    std::string m_base, m_path;
    std::string m_basePathOf, m_basePath;  // base, and its final path when first opened
    DWORD m_openError = ERROR_INVALID_HANDLE;
    std::vector<std::string> m_reparsePoints;
};

// True when none of path's components below base, path included, is a
// reparse point (a junction or a symbolic link that could lead out of
// base).  A component whose attributes cannot be read counts as one; the
// search stops at the first that does not exist.
bool AfxNoReparsePointBelow(const std::string& base, const std::string& path);

// Removes the file or empty folder at path (inside base) through a
// CCheckedFolder of its folder; the same results as CCheckedFolder::Remove
// and Open.
DWORD AfxRemoveBelow(const std::string& base, const std::string& path, bool folder);
