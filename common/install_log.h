// The install record "Uninstall.log": entry format written by Setup and
// the reading rules used by Uninstall.
//
// In memory the record is one string of LF-terminated lines; on disk each
// LF is CR LF (see text_mode.h).  A line is a prefix and a raw value.
#pragma once

#include <cstddef>
#include <string>

enum RecordKind {
    kFileCopy = 0,  // "File Copy: "  file placed by the installer
    kMadeDir = 1,   // "Made Dir: "   folder created or found
    kRegCtrl = 2,   // "Reg Ctrl: "   control file registered
    kRegDbKey = 3,  // "RegDB Key: "  root code, ",", key path
    kRecordKindCount = 4
};

extern const char* const kRecordPrefixes[kRecordKindCount];

const char* const kRecordFileName = "Uninstall.log";

// Registry roots as the record names them.  The installer writes only
// kRootLocalMachine; any code other than 0..3 reads as HKEY_CURRENT_CONFIG.
enum RecordRoot {
    kRootClassesRoot = 0,
    kRootCurrentUser = 1,
    kRootLocalMachine = 2,
    kRootUsers = 3,
    kRootOther = 4  // written for any other root, read as HKEY_CURRENT_CONFIG
};

// prefix + value + LF
std::string RecordLine(RecordKind kind, const std::string& value);

// "RegDB Key: " line for a root and a key path: prefix, digit, ",", path.
std::string RecordRegKeyLine(RecordRoot root, const std::string& keyPath);

// Appends entries to a record held elsewhere (the install job's), for the
// steps that write into it.
class RecordAppender {
public:
    explicit RecordAppender(std::string& record) : m_record(record) {}
    void Add(RecordKind kind, const std::string& value) { m_record += RecordLine(kind, value); }
    void AddRegKey(RecordRoot root, const std::string& keyPath) {
        m_record += RecordRegKeyLine(root, keyPath);
    }

private:
    std::string& m_record;
};

// Finds the next entry of kind at or after pos: a plain case-sensitive
// search for the prefix (not anchored to line starts).  On success the
// value is record[start, start + length) and pos moves one past the LF
// that ends it (or one past the end of the text).
bool FindEntry(const std::string& record, int kind, size_t& pos, size_t& start, size_t& length);

// Number of entries of kind in record.
int CountEntries(const std::string& record, int kind);

// Splits a "RegDB Key: " value at its first comma.  Returns false for a
// value without a comma (such an entry is skipped, never acted upon).
// The root is read from the text before the comma: "0".."3" as
// themselves, anything else as kRootOther.
bool SplitRegKeyValue(const std::string& value, RecordRoot& root, std::string& keyPath);
