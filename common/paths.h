// Path joining and folder-path splitting (code page 936 aware).
#pragma once

#include <string>
#include <vector>

// folder + "\" + name, without doubling a trailing "\" or "/"; a folder of
// two bytes or fewer (empty, or a bare drive such as "D:") is dropped and
// name alone is returned.
std::string JoinPath(const std::string& folder, const std::string& name);

// folder with a "\" appended unless its last character is already "\".
std::string WithTrailingBackslash(const std::string& folder);

// The prefixes of path at which MakeDirPath tests for and creates a
// folder, shortest first: the text before each "\" or "/" and the whole
// path unless it ends with a separator.  Cut points at offset 0 and right
// behind a ":" are passed over, so "D:" and a leading separator are
// never returned; nor is any part of a network path's server and share
// ("\\server", "\\server\share"), which no program can make.
std::vector<std::string> FolderPathPrefixes(const std::string& path);

// The length of the part of path no folder walk makes: the server and
// share of a network path ("\\server\share", also behind "\\?\UNC\"),
// the "\\?\" of a long path; 0 for anything else.
size_t PathRootLength(const std::string& path);

// Trims blanks, tabs and line ends from both ends.
std::string TrimBlanks(const std::string& text);
