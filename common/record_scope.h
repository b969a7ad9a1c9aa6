// Where an installation of the package can have put what its record
// names.  The uninstaller runs as an administrator and the record is a
// plain text file in the install folder, which ordinary users may be able
// to write: it acts only on entries that lie where the installer puts
// things, and passes over the rest.
//
// Paths are code page 936 byte strings.  "Inside" is decided on whole
// path components ("C:\Quilm2" is not inside "C:\Quilm"), ignoring the
// case of ASCII letters, never taking the trail byte of a double-byte
// character for a separator.  Platform-free: the caller supplies the
// folders and looks at the disk (reparse points) itself.
#pragma once

#include <string>
#include <vector>

#include "install_log.h"
#include "product_v8.h"

// An absolute path taken apart: its root ("D:", or "\\server\share" for a
// network path, as written) and its components, empty ones (doubled or
// trailing separators) left out.
struct SplitPath {
    std::string root;
    std::vector<std::string> components;
};

// Takes path apart.  False for a path the uninstaller never acts on: a
// relative one ("a\b", "\a", "C:a"), a device path ("\\.\", "\\?\"), one
// with a component "." or "..", or with a component the system would read
// as another name or as no file name at all (a character that no file
// name holds, or a trailing dot or blank).
bool SplitAbsolutePath(const std::string& path, SplitPath& split);

// True when path lies inside folder, or is folder itself when orSame.
// False when either is not a plain absolute path (see SplitAbsolutePath).
bool IsInsideFolder(const std::string& path, const std::string& folder, bool orSame = false);

// The places a record may name files in.
struct RecordScope {
    // The folder that holds the record (the install folder); empty when
    // it gives no file scope (see GivesFileScope).
    std::string installDir;
    // The current user's and all users' Desktop and Programs folders.
    std::vector<std::string> desktopDirs;
    std::vector<std::string> programsDirs;
};

// Whether an install folder may stand for the files of an installation:
// not a drive or share root, and none of the system's own folders (the
// Windows, system and Program Files folders themselves).
bool GivesFileScope(const std::string& installDir, const std::vector<std::string>& systemDirs);

// Whether an entry of kind with value lies in scope.  On success base is
// the scope folder it lies in: the components of the entry below base
// must not be reparse points (see PathsBelow), which the caller checks
// on the disk.
//   "File Copy: "  inside the install folder; or a shortcut (".lnk")
//                  right inside a Desktop or Programs folder; or the
//                  package's Start-menu folder or anything inside it.
//   "Made Dir: "   the install folder or a folder inside it, or the
//                  package's Start-menu folder.
//   "Reg Ctrl: "   inside the install folder.
bool EntryInScope(const RecordScope& scope, RecordKind kind, const std::string& value,
                  std::string& base);

// Whether a "RegDB Key: " entry names the product key or the Add/Remove
// Programs key under HKEY_LOCAL_MACHINE, or a key below them.
bool KeyInScope(RecordRoot root, const std::string& keyPath);

// The paths of path's components below base, outermost first, ending
// with path itself: for base "D:\Q" and path "D:\Q\a\b.txt", "D:\Q\a"
// and "D:\Q\a\b.txt".  Empty when path is not inside base.
std::vector<std::string> PathsBelow(const std::string& base, const std::string& path);
