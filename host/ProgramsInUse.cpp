#include "ProgramsInUse.h"

#include <windows.h>

#include "common/paths.h"
#include "framework/AfxLog.h"
#include "framework/AfxProcesses.h"
#include "host/HostRegistry.h"

std::vector<HostProgram> FindHostPrograms() {
    std::vector<HostProgram> hosts;
    for (const HostRelease& release : kHostReleases) {
        HostInstall found;
        if (FindHostRelease(release, found, kProbeOpenOnly))
            hosts.push_back({release.releaseKey, AfxLongPath(JoinPath(found.folder, "acad.exe"))});
    }
    return hosts;
}

std::vector<ProgramInUse> FindProgramsInUse(const std::string& installDir) {
    return ProgramsUsing(AfxRunningPrograms(), FindHostPrograms(), AfxLongPath(installDir));
}

bool GoOnWithProgramsInUse(const std::string& installDir, bool unattended,
                           const ProgramsInUseQuestion& ask) {
    for (;;) {
        const std::vector<ProgramInUse> programs = FindProgramsInUse(installDir);
        if (programs.empty()) return true;
        for (const ProgramInUse& program : programs)
            AfxLog("in use: %s%s%s", program.image.c_str(),
                   program.release.empty() ? "" : " AutoCAD ", program.release.c_str());
        const int answer = unattended ? IDCONTINUE : ask(ProgramsInUseList(programs));
        if (answer == IDTRYAGAIN) continue;
        if (answer != IDCONTINUE) return false;
        AfxLog("going on while %d programs use the installation%s",
               static_cast<int>(programs.size()), unattended ? " (unattended)" : "");
        return true;
    }
}
