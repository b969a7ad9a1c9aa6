#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/record_scope.h"

// "誠" in code page 936 is D5 5C: its trail byte looks like "\".  "蠥" is
// D0 41 and "衋" D0 61: trail bytes that look like "A" and "a".
#define CHENG "\xD5\x5C"

namespace {

struct InsideCase {
    const char* path;
    const char* folder;
    bool orSame;
    bool inside;
};

const InsideCase kInsideCases[] = {
    {"D:\\Quilm\\a.txt", "D:\\Quilm\\", false, true},
    {"d:\\quilm\\SUPPORT\\A.TXT", "D:\\Quilm", false, true},
    {"D:/Quilm/sub/a.txt", "D:\\Quilm\\", false, true},
    {"D:\\Quilm\\\\sub\\a.txt", "D:\\Quilm\\", false, true},
    {"D:\\Quilm2\\a.txt", "D:\\Quilm\\", false, false},
    {"D:\\Quilm", "D:\\Quilm\\", false, false},
    {"D:\\Quilm\\", "D:\\Quilm", true, true},
    {"D:\\", "D:\\Quilm", true, false},
    {"E:\\Quilm\\a.txt", "D:\\Quilm\\", false, false},
    // Components the system reads otherwise, and paths that are not plain.
    {"D:\\Quilm\\..\\victim.txt", "D:\\Quilm\\", false, false},
    {"D:\\Quilm/../victim.txt", "D:\\Quilm\\", false, false},
    {"D:\\Quilm\\.\\a.txt", "D:\\Quilm\\", false, false},
    {"D:\\Quilm\\a.", "D:\\Quilm\\", false, false},
    {"D:\\Quilm\\a ", "D:\\Quilm\\", false, false},
    {"D:\\Quilm\\a.txt:stream", "D:\\Quilm\\", false, false},
    {"D:\\Quilm\\*.txt", "D:\\Quilm\\", false, false},
    {"D:\\Quilm\\a|b", "D:\\Quilm\\", false, false},
    {"\\\\?\\D:\\Quilm\\a.txt", "D:\\Quilm\\", false, false},
    {"\\\\.\\D:\\Quilm\\a.txt", "D:\\Quilm\\", false, false},
    {"Quilm\\a.txt", "Quilm\\", false, false},
    {"\\Quilm\\a.txt", "\\Quilm\\", false, false},
    {"D:Quilm\\a.txt", "D:Quilm\\", false, false},
    {"", "D:\\Quilm\\", true, false},
    // Network paths: server and share are the root.
    {"\\\\Server\\Share\\Quilm\\a", "\\\\server\\share\\quilm\\", false, true},
    {"\\\\server\\other\\Quilm\\a", "\\\\server\\share\\Quilm\\", false, false},
    // Double-byte characters: a trail byte is never a separator, and only
    // single-byte letters fold.
    {"D:\\" CHENG "\\a.txt", "D:\\" CHENG "\\", false, true},
    {"D:\\" CHENG "\\a.txt", "D:\\" CHENG, false, true},
    {"D:\\" CHENG "a\\x.txt", "D:\\" CHENG, false, false},
    {"D:\\" CHENG "\\..\\x.txt", "D:\\" CHENG, false, false},
    {"D:\\" CHENG ".\\x.txt", "D:\\" CHENG, false, false},
    {"D:\\\xD0\x61\\x.txt", "D:\\\xD0\x41\\", false, false},
    {"D:\\\xD0\x41\\x.txt", "D:\\\xD0\x41\\", false, true},
};

TEST(RecordScope, InsideIsDecidedOnWholeComponents) {
    for (const InsideCase& c : kInsideCases)
        EXPECT_EQ(IsInsideFolder(c.path, c.folder, c.orSame), c.inside)
            << c.path << " in " << c.folder;
}

TEST(RecordScope, DriveRootsAndSystemFoldersGiveNoFileScope) {
    const std::vector<std::string> system = {"C:\\windows", "C:\\Windows\\system32",
                                             "C:\\Program Files\\"};
    EXPECT_TRUE(GivesFileScope("D:\\Quilm\\", system));
    EXPECT_TRUE(GivesFileScope("C:\\Program Files\\Corvantix\\Quilm\\", system));
    EXPECT_TRUE(GivesFileScope("C:\\Windows\\Quilm\\", system));
    EXPECT_TRUE(GivesFileScope("D:\\" CHENG "\\", system));
    EXPECT_FALSE(GivesFileScope("C:\\", system));
    EXPECT_FALSE(GivesFileScope("D:\\\\", system));
    EXPECT_FALSE(GivesFileScope("D:", system));
    EXPECT_FALSE(GivesFileScope("\\\\server\\share\\", system));
    EXPECT_FALSE(GivesFileScope("C:\\WINDOWS\\", system));
    EXPECT_FALSE(GivesFileScope("c:\\windows\\System32", system));
    EXPECT_FALSE(GivesFileScope("C:\\Program Files", system));
    EXPECT_FALSE(GivesFileScope("Quilm\\", system));
    EXPECT_FALSE(GivesFileScope("", system));
}

struct EntryCase {
    RecordKind kind;
    std::string value;
    const char* base;  // nullptr: out of scope
};

TEST(RecordScope, EntriesLieWhereTheInstallerPutsThings) {
    const std::string desktop = "C:\\users\\u\\Desktop";
    const std::string programs = "C:\\users\\u\\Start Menu\\Programs";
    const std::string common = "C:\\ProgramData\\Start Menu\\Programs\\";
    const std::string menu = common + "土地整理规划设计软件 Quilm V8.5";
    RecordScope scope;
    scope.installDir = "D:\\Quilm\\";
    scope.desktopDirs = {desktop};
    scope.programsDirs = {programs, common};
    const EntryCase cases[] = {
        {kFileCopy, "D:\\Quilm\\Support\\a.dwg", "D:\\Quilm\\"},
        {kFileCopy, "D:\\Quilm\\Uninstall.log", "D:\\Quilm\\"},
        {kFileCopy, "C:\\victim.txt", nullptr},
        {kFileCopy, "C:\\users\\Public\\Documents\\drawing.dwg", nullptr},
        {kFileCopy, "D:\\Quilm2\\a.dwg", nullptr},
        {kFileCopy, "D:\\Quilm\\..\\a.dwg", nullptr},
        {kFileCopy, "D:\\Quilm\\", nullptr},
        {kFileCopy, desktop + "\\土地整理规划设计.LNK", desktop.c_str()},
        {kFileCopy, desktop + "\\notes.txt", nullptr},
        {kFileCopy, desktop + "\\sub\\x.lnk", nullptr},
        {kFileCopy, desktop + "\\..\\x.lnk", nullptr},
        {kFileCopy, programs + "\\other.lnk", programs.c_str()},
        {kFileCopy, programs + "\\Other\\x.lnk", nullptr},
        {kFileCopy, menu, common.c_str()},
        {kFileCopy, menu + "\\Quilm V8.5 卸载程序.LNK", common.c_str()},
        {kFileCopy, menu + "\\sub\\readme.txt", common.c_str()},
        {kFileCopy, programs, nullptr},
        {kMadeDir, "D:\\Quilm\\", "D:\\Quilm\\"},
        {kMadeDir, "D:\\Quilm\\Support\\2007-09", "D:\\Quilm\\"},
        {kMadeDir, "D:\\", nullptr},
        {kMadeDir, "D:\\Quilm2", nullptr},
        {kMadeDir, menu, common.c_str()},
        {kMadeDir, menu + "\\sub", nullptr},
        {kMadeDir, common, nullptr},
        {kMadeDir, desktop, nullptr},
        {kRegCtrl, "D:\\Quilm\\Control\\QuilmMap.ocx", "D:\\Quilm\\"},
        {kRegCtrl, "C:\\evil.dll", nullptr},
        {kRegCtrl, menu + "\\x.ocx", nullptr},
        {kRegCtrl, desktop + "\\x.lnk", nullptr},
        {kRegDbKey, "D:\\Quilm\\x", nullptr},
    };
    for (const EntryCase& c : cases) {
        std::string base = "unchanged";
        EXPECT_EQ(EntryInScope(scope, c.kind, c.value, base), c.base != nullptr)
            << kRecordPrefixes[c.kind] << c.value;
        EXPECT_EQ(base, c.base ? c.base : "") << kRecordPrefixes[c.kind] << c.value;
    }
    // Without a file scope only the shortcuts and the Start-menu folder.
    scope.installDir.clear();
    std::string base;
    EXPECT_FALSE(EntryInScope(scope, kFileCopy, "D:\\Quilm\\Support\\a.dwg", base));
    EXPECT_FALSE(EntryInScope(scope, kMadeDir, "D:\\Quilm\\", base));
    EXPECT_FALSE(EntryInScope(scope, kRegCtrl, "D:\\Quilm\\Control\\a.ocx", base));
    EXPECT_TRUE(EntryInScope(scope, kFileCopy, desktop + "\\a.lnk", base));
    EXPECT_TRUE(EntryInScope(scope, kMadeDir, menu, base));
}

TEST(RecordScope, KeysAreTheProductKeysAndWhatLiesBelowThem) {
    const std::string product = "SOFTWARE\\Corvantix\\Quilm\\V8",
                      arp = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8";
    struct Case {
        RecordRoot root;
        std::string key;
        bool inScope;
    } const cases[] = {
        {kRootLocalMachine, product, true},
        {kRootLocalMachine, product + "\\Sub\\Deeper", true},
        {kRootLocalMachine, "software\\corvantix\\quilm\\v8", true},
        {kRootLocalMachine, arp, true},
        {kRootLocalMachine, "SOFTWARE\\Corvantix\\Quilm\\V8x", false},
        {kRootLocalMachine, "SOFTWARE\\Corvantix\\Quilm\\V9", false},
        {kRootLocalMachine, "SOFTWARE\\Corvantix\\Quilm", false},
        {kRootLocalMachine, "SOFTWARE\\Wine\\VictimKey", false},
        {kRootLocalMachine, "SOFTWARE", false},
        {kRootLocalMachine, arp + " x", false},
        {kRootLocalMachine, product + "\\", false},
        {kRootLocalMachine, "\\" + product, false},
        {kRootLocalMachine, product + "\\\\x", false},
        {kRootLocalMachine, "", false},
        {kRootClassesRoot, product, false},
        {kRootCurrentUser, product, false},
        {kRootUsers, product, false},
        {kRootOther, product, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyInScope(c.root, c.key), c.inScope) << c.root << "," << c.key;
}

TEST(RecordScope, PathsBelowTheScopeFolder) {
    using Paths = std::vector<std::string>;
    EXPECT_EQ(PathsBelow("D:\\Q", "D:\\Q\\a\\b.txt"), (Paths{"D:\\Q\\a", "D:\\Q\\a\\b.txt"}));
    EXPECT_EQ(PathsBelow("d:\\q\\", "D:/Q/a"), (Paths{"D:\\Q\\a"}));
    EXPECT_EQ(PathsBelow("D:\\" CHENG, "D:\\" CHENG "\\x"), (Paths{"D:\\" CHENG "\\x"}));
    EXPECT_EQ(PathsBelow("\\\\s\\sh\\Q", "\\\\s\\sh\\Q\\a"), (Paths{"\\\\s\\sh\\Q\\a"}));
    EXPECT_EQ(PathsBelow("D:\\Q\\", "D:\\Q"), Paths{});
    EXPECT_EQ(PathsBelow("D:\\Q", "E:\\Q\\a"), Paths{});
    EXPECT_EQ(PathsBelow("D:\\Q", "D:\\Q\\..\\a"), Paths{});
}

}  // namespace
