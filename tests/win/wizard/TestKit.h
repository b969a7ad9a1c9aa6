// Helpers of the wizard's tests: host paths as Wine sees them, a demo
// medium built with real files, and clean-up of what an installation
// leaves in the registry, the file system and the shell folders.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testkit {

// A host path ("/work/...") as a Windows path ("Z:\work\...").
std::string HostPath(const std::string& unixPath);
// The prefix's temporary folder, with a trailing backslash.
std::string TempDir();

bool WriteTextFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string ReadFile(const std::string& path);
// Deletes a folder tree (clearing read-only and hidden attributes); true
// when nothing is left.
bool DeleteTree(const std::string& folder);
// Number of plain files below folder, at any depth.
int CountFilesBelow(const std::string& folder);

struct MediumOptions {
    bool withReadme = true;
    std::string missingFolder;  // one of the nine package folders left out
    int extraFiles = 0;         // more files in "Temp\bulk", for a long copy
    bool withSlides = true;     // the picture folder with two pictures
};
// Builds a medium in folder (with trailing "\"): the nine package folders
// with files at two depths, an empty subfolder, Chinese names, the root
// files, Setup.exe and the picture folder.  Returns the number of plain
// files in the nine folders.
int BuildMedium(const std::string& folder, const MediumOptions& options);

// Registry
bool KeyExists(HKEY root, const std::string& path);
bool GetValue(HKEY root, const std::string& path, const char* name, std::string& value);
bool SetValue(HKEY root, const std::string& path, const char* name, const std::string& value);
void DeleteKeyTree(HKEY root, const std::string& path);

// The keys, folders and shortcuts an installation makes; removes them.
void RemoveInstallation(const std::string& destDir);
std::string ShellFolder(int csidl);

extern const char kProductKey[];
extern const char kUninstallKey[];
extern const char kDefaultDest[];
extern const char kStartMenuGroup[];

}  // namespace testkit
