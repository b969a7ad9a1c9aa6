// Fuzz target: the install-record reader, line-end translation and path
// splitting on a record of any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/install_log.h"
#include "common/mbcs.h"
#include "common/paths.h"
#include "common/text_mode.h"

#define CHECK(cond)           \
    do {                      \
        if (!(cond)) abort(); \
    } while (0)

namespace {

// The prefixes as the file holds them, in the order of the kinds.
const std::string kPrefixes[kRecordKindCount] = {
    "File Copy: ", "Made Dir: ", "Reg Ctrl: ", "RegDB Key: "};

// The entries of a kind read line by line: each line (the last one may lack
// its LF) holding the prefix gives one entry, the rest of the line after
// the prefix's first occurrence; as (start, length) in the record.
std::vector<std::pair<size_t, size_t>> LineEntries(const std::string& record,
                                                   const std::string& prefix) {
    std::vector<std::pair<size_t, size_t>> entries;
    std::istringstream lines(record);
    size_t offset = 0;
    for (std::string line; std::getline(lines, line); offset += line.size() + 1) {
        const size_t at = line.find(prefix);
        if (at != std::string::npos)
            entries.emplace_back(offset + at + prefix.size(), line.size() - at - prefix.size());
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // What the uninstaller reads is the file in text mode.
    const std::string record = CrLfToLf(bytes);
    CHECK(record.size() <= bytes.size());
    CHECK(CrLfToLf(LfToCrLf(bytes)) == bytes);

    for (int kind = 0; kind < kRecordKindCount; ++kind) {
        const std::string& prefix = kPrefixes[kind];
        const std::vector<std::pair<size_t, size_t>> expected = LineEntries(record, prefix);
        size_t pos = 0, start = 0, length = 0, last = 0;
        size_t count = 0;
        while (FindEntry(record, kind, pos, start, length)) {
            CHECK(start + length <= record.size());
            CHECK(record.compare(start - prefix.size(), prefix.size(), prefix) == 0);
            CHECK(count < expected.size() && expected[count] == std::make_pair(start, length));
            const std::string value = record.substr(start, length);
            CHECK(value.find('\n') == std::string::npos);
            CHECK(pos > last && pos == start + length + 1);
            last = pos;
            ++count;
            if (kind == kRegDbKey) {
                RecordRoot root = kRootOther;
                std::string key;
                if (SplitRegKeyValue(value, root, key)) {
                    CHECK(root >= kRootClassesRoot && root <= kRootOther);
                    CHECK(key.size() < value.size());
                } else {
                    CHECK(value.find(',') == std::string::npos);
                }
            }
            if (kind == kMadeDir) {
                for (const std::string& prefix : FolderPathPrefixes(value)) {
                    CHECK(!prefix.empty() && value.compare(0, prefix.size(), prefix) == 0);
                }
                std::string joined = JoinPath(value, "x");
                CHECK(joined.size() >= 1 && joined.back() == 'x');
                // A value ending in a lone lead byte (not valid code page
                // 936) pairs with the appended "\"; otherwise the result
                // ends with a separator.
                std::string folder = WithTrailingBackslash(value);
                CHECK(folder.compare(0, value.size(), value) == 0);
                size_t lastChar = LastCharOffset(value);
                bool loneLead = lastChar != std::string::npos && lastChar + 1 == value.size() &&
                                IsLeadByte936(static_cast<unsigned char>(value[lastChar]));
                if (!loneLead) CHECK(EndsWithChar(folder, '\\'));
            }
        }
        CHECK(count == expected.size());
        CHECK(CountEntries(record, kind) == static_cast<int>(expected.size()));
    }
    return 0;
}
