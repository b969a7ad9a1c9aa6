// The running program's own file.
#pragma once

#include <string>

// The full path of the running program, however long.
std::string AfxGetModulePath();
