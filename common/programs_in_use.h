// The programs that use an installation while they run: the AutoCAD of a
// release found, which loads the package's modules, and any program whose
// file lies in the install folder.  Their files cannot be replaced or
// deleted while they run, so Setup and the uninstaller name them first.
//
// Platform-free: the caller lists the running programs and the AutoCAD
// programs found (host/ProgramsInUse.h does both on the system).  Paths
// are code page 936 byte strings, compared as record_scope.h compares
// them: ASCII letters in either case, whole components.
#pragma once

#include <string>
#include <vector>

// An AutoCAD release found, and its program (the release's folder +
// "acad.exe").
struct HostProgram {
    std::string release;  // "R17.0"
    std::string image;
};

// A running program that uses the installation: its file, and for an
// AutoCAD its release ("" for a program from the install folder).
struct ProgramInUse {
    std::string image;
    std::string release;
};

// The running programs (their files' full paths) that are one of hosts or
// lie inside installDir, in the order of running; a program running twice
// is named once.
std::vector<ProgramInUse> ProgramsUsing(const std::vector<std::string>& running,
                                        const std::vector<HostProgram>& hosts,
                                        const std::string& installDir);

// One line each, "\n" between them: the path, for an AutoCAD followed by
// " (AutoCAD R17.0)".
std::string ProgramsInUseList(const std::vector<ProgramInUse>& programs);
