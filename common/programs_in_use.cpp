#include "programs_in_use.h"

#include "mbcs.h"
#include "record_scope.h"

std::vector<ProgramInUse> ProgramsUsing(const std::vector<std::string>& running,
                                        const std::vector<HostProgram>& hosts,
                                        const std::string& installDir) {
    std::vector<ProgramInUse> found;
    for (const std::string& image : running) {
        bool named = false;
        for (const ProgramInUse& program : found)
            named |= CompareNoCase936(program.image, image) == 0;
        if (named) continue;
        const HostProgram* host = nullptr;
        for (const HostProgram& candidate : hosts)
            if (CompareNoCase936(candidate.image, image) == 0) host = &candidate;
        if (host) found.push_back({image, host->release});
        else if (IsInsideFolder(image, installDir)) found.push_back({image, std::string()});
    }
    return found;
}

std::string ProgramsInUseList(const std::vector<ProgramInUse>& programs) {
    std::string list;
    for (const ProgramInUse& program : programs) {
        if (!list.empty()) list += '\n';
        list += program.image;
        if (!program.release.empty()) list += " (AutoCAD " + program.release + ")";
    }
    return list;
}
