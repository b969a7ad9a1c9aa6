// Where the shell names the Desktop and Programs folders: the keys, in the
// order they are read, and their values for the current user (under
// HKEY_CURRENT_USER) and for all users (under HKEY_LOCAL_MACHINE).
#pragma once

inline constexpr char kShellFoldersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr char kShellFoldersKeyNT[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kShellFoldersKeys[] = {kShellFoldersKey, kShellFoldersKeyNT};

struct ShellFolderValues {
    const char* desktop;
    const char* programs;
};
inline constexpr ShellFolderValues kUserFolderValues = {"Desktop", "Programs"};
inline constexpr ShellFolderValues kAllUsersFolderValues = {"Common Desktop", "Common Programs"};
