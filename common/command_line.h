// The programs' command line, as deployment tools give it.  Platform-free.
//
//   (none)          interactive, exactly as without any switch
//   /SILENT         no questions; a small progress window only
//   /VERYSILENT     nothing shown at all
//   /DIR="path"     (Setup.exe only) the destination folder: absolute (a
//                   drive letter or a network path); "\" appended when
//                   missing.  A backslash before the closing quote is part
//                   of the path ("D:\Quilm\"), never an escape.
//   /LOG="file"     where the diagnostic log goes
//   /? or /HELP     the list of switches and exit codes
//
// Switches are case-insensitive; a value may be quoted, or the whole
// switch may be ("/DIR=D:\My Quilm" in quotes).
#pragma once

#include <string>

// Exit codes, the same for both programs, interactive runs too.
enum ExitCode {
    kExitDone = 0,            // done, nothing failed
    kExitBadCommandLine = 1,  // command line not understood; nothing touched
    kExitCancelled = 2,       // cancelled by the user
    kExitSomeFailed = 3,      // done, but some items failed (listed in the log)
    kExitFailed = 4,          // the job stopped before its record was written,
                              // or no readable record was found
    // Done; a restart completes it (files in use are replaced or deleted
    // then).  The code deployment tools treat as a soft reboot.
    kExitRestart = 3010,
    // Another installation or uninstallation of the package runs on this
    // machine; nothing touched.  The code deployment tools (Intune,
    // Configuration Manager) treat as "retry later".
    kExitAnotherRunning = 1618
};

// The machine-wide mutex that both programs hold while they run, so that
// only one installation or uninstallation works at a time.
const char kRunMutexName[] = "Global\\Corvantix.Quilm.InstallerRunning";

enum UiLevel { kUiInteractive, kUiSilent, kUiVerySilent };

// What is wrong with a command line; each program words it in its own
// texts.
enum CommandLineFault {
    kFaultNone,           // understood
    kFaultUnknownSwitch,  // a switch the program does not have, or a value it cannot take
    kFaultDirNotAbsolute  // /DIR with a folder that is not an absolute path
};

struct CommandLine {
    UiLevel ui = kUiInteractive;
    bool help = false;
    std::string dir;  // ends with "\"; empty when not given
    std::string log;  // empty when not given
    // The first fault found, and what it names: the whole switch, or the
    // folder given to /DIR.
    CommandLineFault fault = kFaultNone;
    std::string offending;
};

// The arguments of a whole command line (GetCommandLineA): what follows
// the program's name, which ends as the system ends it: a quoted name at
// its closing quote, an unquoted one at the first blank or tab.  The
// blanks and tabs after the name are dropped too.  Steps over double-byte
// characters, so a trail byte is never taken for a quote or a blank.
std::string ArgumentsOf(const std::string& commandLine);

// Reads the arguments (the command line without the program's name).
// acceptsDir says whether /DIR is one of the program's switches.
CommandLine ParseCommandLine(const std::string& arguments, bool acceptsDir);
