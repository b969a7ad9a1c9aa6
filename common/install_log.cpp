#include "install_log.h"

const char* const kRecordPrefixes[kRecordKindCount] = {
    "File Copy: ", "Made Dir: ", "Reg Ctrl: ", "RegDB Key: "};

std::string RecordLine(RecordKind kind, const std::string& value) {
    return std::string(kRecordPrefixes[kind]) + value + "\n";
}

std::string RecordRegKeyLine(RecordRoot root, const std::string& keyPath) {
    std::string code(1, static_cast<char>('0' + static_cast<int>(root)));
    return RecordLine(kRegDbKey, code + "," + keyPath);
}

bool FindEntry(const std::string& record, int kind, size_t& pos, size_t& start, size_t& length) {
    if (kind < 0 || kind >= kRecordKindCount || pos > record.size()) return false;
    const char* prefix = kRecordPrefixes[kind];
    size_t at = record.find(prefix, pos);
    if (at == std::string::npos) return false;
    start = at + std::char_traits<char>::length(prefix);
    size_t end = record.find('\n', start);
    if (end == std::string::npos) end = record.size();
    length = end - start;
    pos = end + 1;
    return true;
}

int CountEntries(const std::string& record, int kind) {
    int count = 0;
    size_t pos = 0, start = 0, length = 0;
    while (FindEntry(record, kind, pos, start, length)) ++count;
    return count;
}

bool SplitRegKeyValue(const std::string& value, RecordRoot& root, std::string& keyPath) {
    size_t comma = value.find(',');
    if (comma == std::string::npos) return false;
    std::string code = value.substr(0, comma);
    if (code == "0") root = kRootClassesRoot;
    else if (code == "1") root = kRootCurrentUser;
    else if (code == "2") root = kRootLocalMachine;
    else if (code == "3") root = kRootUsers;
    else root = kRootOther;
    keyPath = value.substr(comma + 1);
    return true;
}
