// Before Setup copies and before the uninstaller removes: the programs
// running now that use the installation (common/programs_in_use.h), as
// the system lists them, and the question to a person whether to go on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/programs_in_use.h"

// The AutoCAD program of every release that detection finds, looked up
// only by opening keys (kProbeOpenOnly): nothing is left behind when the
// run ends here.
std::vector<HostProgram> FindHostPrograms();

// The programs running now that use the installation in installDir.
std::vector<ProgramInUse> FindProgramsInUse(const std::string& installDir);

// Looks for them until none is left: each found goes to the log, then ask
// gets the list (ProgramsInUseList) and answers IDTRYAGAIN to look again,
// IDCONTINUE to go on with them running, anything else to end the run.
// Unattended, nobody is asked and the run goes on.  True to go on.
typedef std::function<int(const std::string& list)> ProgramsInUseQuestion;
bool GoOnWithProgramsInUse(const std::string& installDir, bool unattended,
                           const ProgramsInUseQuestion& ask);
