// The start and end of a program's run as deployment tools see it: the
// diagnostic log opened and closed, the command line answered where it
// asks for help or cannot be understood, the exit code written last.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "../common/command_line.h"
#include "AfxString.h"

// Opens the log (line.log, else a new one in the temporary folder named
// after logName) and writes the program, its version and the arguments.
// Answers /? with the list of switches, always in a box, and a command
// line that was not understood with what is wrong and the list, in a box
// unless unattended.  Refuses to run beside another installation or
// uninstallation (AfxHoldRunMutex): AFX_IDS_ANOTHER_RUNNING in a box unless
// unattended.  Returns false when the program ends here, with exitCode set
// (0 after help, 1 for a bad command line, kExitAnotherRunning).  The texts are
// the program's own: AFX_IDS_COMMAND_LINE_HELP and those of
// AfxCommandLineError (AfxRes.h).
bool AfxBeginRun(const CommandLine& line, LPCSTR arguments, LPCSTR program, LPCSTR logName,
                 LPCSTR version, int& exitCode);

// Takes the machine-wide mutex (kRunMutexName) for the rest of the
// process; false when another process holds it.  A mutex that cannot be
// made at all does not stop the run.
bool AfxHoldRunMutex();

// What is wrong with a command line, from the program's string table
// (AFX_IDS_UNKNOWN_SWITCH, AFX_IDS_DIR_NOT_ABSOLUTE); empty when it was
// understood.
CString AfxCommandLineError(const CommandLine& line);

// Writes the exit code as the log's last line and closes the log.
// Returns the exit code, made kExitSomeFailed from kExitDone when the log
// lost lines.
int AfxEndRun(int exitCode);

// The text of the box that lists what failed: the count's sentence
// (headline, with one %d), up to ten items, how many more, and where the
// log is.
std::string AfxFailureNotice(const char* headline, const std::vector<std::string>& items);
