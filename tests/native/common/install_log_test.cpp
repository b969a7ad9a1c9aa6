#include <gtest/gtest.h>

#include "common/install_log.h"
#include "common/text_mode.h"

namespace {
std::vector<std::string> Values(const std::string& record, int kind) {
    std::vector<std::string> out;
    size_t pos = 0, start = 0, length = 0;
    while (FindEntry(record, kind, pos, start, length)) out.push_back(record.substr(start, length));
    return out;
}
}  // namespace

TEST(InstallLog, LinesAndRootCodes) {
    EXPECT_EQ(RecordLine(kFileCopy, "D:\\Q\\a"), "File Copy: D:\\Q\\a\n");
    EXPECT_EQ(RecordLine(kMadeDir, ""), "Made Dir: \n");
    EXPECT_EQ(RecordLine(kRegCtrl, "x.ocx"), "Reg Ctrl: x.ocx\n");
    EXPECT_EQ(RecordRegKeyLine(kRootLocalMachine, "SOFTWARE\\Corvantix\\Quilm\\V8"),
              "RegDB Key: 2,SOFTWARE\\Corvantix\\Quilm\\V8\n");
    EXPECT_EQ(RecordRegKeyLine(kRootOther, "k"), "RegDB Key: 4,k\n");
}

TEST(InstallLog, ReaderWalksEachKindOnItsOwn) {
    std::string rec =
        "Made Dir: D:\\Q\\Support\n"
        "File Copy: D:\\Q\\Support\\a.arx\n"
        "\n"
        "garbage line\n"
        "Made Dir: D:\\Q\\Control\n"
        "File Copy: D:\\Q\\Uninstall.log";  // last line without LF
    EXPECT_EQ(Values(rec, kMadeDir),
              (std::vector<std::string>{"D:\\Q\\Support", "D:\\Q\\Control"}));
    EXPECT_EQ(Values(rec, kFileCopy),
              (std::vector<std::string>{"D:\\Q\\Support\\a.arx", "D:\\Q\\Uninstall.log"}));
    EXPECT_EQ(CountEntries(rec, kRegCtrl), 0);
    EXPECT_EQ(CountEntries(rec, kFileCopy), 2);
    EXPECT_EQ(CountEntries("", kFileCopy), 0);
    EXPECT_EQ(CountEntries(rec, 7), 0);
    EXPECT_EQ(CountEntries(rec, -1), 0);
}

TEST(InstallLog, SearchIsNotAnchoredToLineStarts) {
    std::string rec = "File Copy: D:\\odd Made Dir: name\\f.txt\n";
    EXPECT_EQ(Values(rec, kFileCopy), (std::vector<std::string>{"D:\\odd Made Dir: name\\f.txt"}));
    EXPECT_EQ(Values(rec, kMadeDir), (std::vector<std::string>{"name\\f.txt"}));
    // Empty value at the very end, and a prefix as the whole text.
    EXPECT_EQ(Values("Made Dir: ", kMadeDir), (std::vector<std::string>{""}));
    size_t pos = 100, start = 0, length = 0;
    EXPECT_FALSE(FindEntry(rec, kFileCopy, pos, start, length));
}

TEST(InstallLog, RegKeyValues) {
    RecordRoot root = kRootClassesRoot;
    std::string path;
    ASSERT_TRUE(SplitRegKeyValue("2,SOFTWARE\\A,B", root, path));
    EXPECT_EQ(root, kRootLocalMachine);
    EXPECT_EQ(path, "SOFTWARE\\A,B");
    ASSERT_TRUE(SplitRegKeyValue("0,x", root, path));
    EXPECT_EQ(root, kRootClassesRoot);
    ASSERT_TRUE(SplitRegKeyValue("3,x", root, path));
    EXPECT_EQ(root, kRootUsers);
    ASSERT_TRUE(SplitRegKeyValue("4,x", root, path));
    EXPECT_EQ(root, kRootOther);
    ASSERT_TRUE(SplitRegKeyValue("12,x", root, path));
    EXPECT_EQ(root, kRootOther);
    ASSERT_TRUE(SplitRegKeyValue(",x", root, path));
    EXPECT_EQ(root, kRootOther);
    EXPECT_FALSE(SplitRegKeyValue("SOFTWARE\\NoComma", root, path));
}

TEST(TextMode, LineEnds) {
    EXPECT_EQ(LfToCrLf("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(LfToCrLf(""), "");
    EXPECT_EQ(CrLfToLf("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(CrLfToLf("a\nb"), "a\nb");
    EXPECT_EQ(CrLfToLf("a\rb\r"), "a\rb\r");  // lone CR stays
    EXPECT_EQ(CrLfToLf(LfToCrLf("x\ny\n\n")), "x\ny\n\n");
}

// A record of 100 MB in ordinary lines, well over a million entries: the
// reader finds every entry of each kind, in order, and the last ones too.
TEST(InstallLog, HundredMegabytesOfOrdinaryLines) {
    const size_t kSize = 100u << 20;
    std::string record;
    record.reserve(kSize + 4096);
    std::vector<size_t> fileStarts, dirStarts;  // offsets of the values
    char name[160];
    int n = 0;
    while (record.size() < kSize) {
        if (n % 25 == 0) {
            std::snprintf(name, sizeof(name), "C:\\Program Files\\Corvantix\\Quilm\\图库\\分类%05d",
                          n / 25);
            record += "Made Dir: ";
            dirStarts.push_back(record.size());
            record += name;
            record += '\n';
        }
        std::snprintf(name, sizeof(name),
                      "C:\\Program Files\\Corvantix\\Quilm\\图库\\分类%05d\\文件%07d.dwg", n / 25,
                      n);
        record += "File Copy: ";
        fileStarts.push_back(record.size());
        record += name;
        record += '\n';
        ++n;
    }
    record += "RegDB Key: 2,SOFTWARE\\Corvantix\\Quilm\\V8\n";
    // The last line without its line end, as a cut-off file leaves it.
    record += "File Copy: C:\\Program Files\\Corvantix\\Quilm\\Uninstall.log";

    EXPECT_EQ(CountEntries(record, kFileCopy), static_cast<int>(fileStarts.size()) + 1);
    EXPECT_EQ(CountEntries(record, kMadeDir), static_cast<int>(dirStarts.size()));
    EXPECT_EQ(CountEntries(record, kRegDbKey), 1);
    EXPECT_EQ(CountEntries(record, kRegCtrl), 0);

    size_t pos = 0, start = 0, length = 0, i = 0;
    bool inOrder = true;
    while (FindEntry(record, kFileCopy, pos, start, length)) {
        if (i < fileStarts.size())
            inOrder = inOrder && start == fileStarts[i] && record[start + length] == '\n';
        ++i;
    }
    EXPECT_TRUE(inOrder);
    ASSERT_EQ(i, fileStarts.size() + 1);
    EXPECT_EQ(record.substr(start, length), "C:\\Program Files\\Corvantix\\Quilm\\Uninstall.log");
    std::vector<std::string> keys = Values(record, kRegDbKey);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], "2,SOFTWARE\\Corvantix\\Quilm\\V8");

    // On disk and back, unchanged.
    EXPECT_TRUE(CrLfToLf(LfToCrLf(record)) == record);
}
