#include "active_setup.h"

#include <cstdio>
#include <cstdlib>

#include "paths.h"

namespace active_setup {

namespace {

const char kComponents[] = "Microsoft\\Active Setup\\Installed Components\\";

// "2026,1208,3" -> date 20261208, count 3; false for anything else.
bool ParseVersion(const std::string& text, long& date, long& count) {
    int year = 0, monthDay = 0, n = 0, used = 0;
    if (std::sscanf(text.c_str(), "%d,%d,%d%n", &year, &monthDay, &n, &used) != 3) return false;
    if (static_cast<size_t>(used) != text.size() || year < 0 || monthDay < 0 || n < 1) return false;
    date = year * 10000L + monthDay;
    count = n;
    return true;
}

}  // namespace

std::string MachineKeyPath() {
    return std::string("SOFTWARE\\") + kComponents + kGuid;
}

std::string UserKeyPath() {
    return std::string("Software\\") + kComponents + kGuid;
}

std::string NextVersion(const std::string& previous, int year, int month, int day) {
    long date = year * 10000L + month * 100L + day, count = 1;
    long lastDate = 0, lastCount = 0;
    if (ParseVersion(previous, lastDate, lastCount) && lastDate >= date) {
        date = lastDate;
        count = lastCount + 1;
    }
    char text[48];
    std::snprintf(text, sizeof(text), "%ld,%ld,%ld", date / 10000, date % 10000, count);
    return text;
}

std::string MakingCommand(const std::string& destDir) {
    return "\"" + JoinPath(destDir, kUserProgramFile) + "\"";
}

std::string RemovalCommand(const std::string& systemDir,
                           const std::vector<std::string>& profileKeys) {
    // cmd /s /c takes everything between the first and the last quote as
    // the command, so the quotes inside stay as they are.
    std::string command = "\"" + systemDir + "cmd.exe\" /d /s /c \"";
    for (size_t i = 0; i < profileKeys.size(); ++i) {
        if (i) command += " & ";
        command += "\"" + systemDir + "reg.exe\" delete \"HKCU\\" + profileKeys[i] + "\" /f";
    }
    return command + "\"";
}

}  // namespace active_setup
