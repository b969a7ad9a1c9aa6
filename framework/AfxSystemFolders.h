// The system's own folders, as the system names them to this program.
// A 32-bit program on 64-bit Windows is told "C:\Program Files (x86)" for
// both CSIDL_PROGRAM_FILES and CSIDL_PROGRAM_FILESX86; the native Program
// Files folder is known to it only through the "ProgramW6432" variable,
// which is read explicitly here, so that a 32-bit and a 64-bit build see
// the same list.
#pragma once

#include <string>
#include <vector>

// Both Program Files folders: the native one ("ProgramW6432" where it is
// set) and the x86 one, each as every source names it.  May repeat.
std::vector<std::string> AfxProgramFilesFolders();

// Every folder that is the system's and never an installation's: the
// Windows folder, the system folder as the system names it ("system32"),
// "SysWOW64", both Program Files folders, the folder that holds the
// users' profiles, and ProgramData.  Without trailing "\"; may repeat.
std::vector<std::string> AfxSystemFolders();
