// The programs running now, by the files they were started from.  No
// window is looked at: a program counts whether it shows one or not.
#pragma once

#include <string>
#include <vector>

// The full path of the program file of every process running now, this
// one left out, as far as this account may ask (PROCESS_QUERY_LIMITED_
// INFORMATION, which the system grants for most processes of other users
// too); each in its long form, so that a program started through a short
// name compares with the folders it lies in.  Empty when the system gives
// no process list.
std::vector<std::string> AfxRunningPrograms();

// path with every component in its long form, when it exists; otherwise
// path unchanged.
std::string AfxLongPath(const std::string& path);
