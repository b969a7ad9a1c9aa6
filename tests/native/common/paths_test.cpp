#include <gtest/gtest.h>

#include "common/mbcs.h"
#include "common/paths.h"

// "誠" in code page 936 is D5 5C: its trail byte looks like "\".
#define CHENG "\xD5\x5C"
// "表" is B1 ED, "信" is D0 C5
#define XIN "\xD0\xC5"

TEST(JoinPath, FoldersAndDrives) {
    EXPECT_EQ(JoinPath("D:", "x"), "x");
    EXPECT_EQ(JoinPath("", "x"), "x");
    EXPECT_EQ(JoinPath("D:\\", "x"), "D:\\x");
    EXPECT_EQ(JoinPath("D:\\A", "x"), "D:\\A\\x");
    EXPECT_EQ(JoinPath("D:\\A/", "x"), "D:\\A/x");
    EXPECT_EQ(JoinPath("D:\\A\\", "Uninstall.exe"), "D:\\A\\Uninstall.exe");
    // A folder ending in a double-byte character whose trail byte is 5C
    // still gets its separator.
    EXPECT_EQ(JoinPath("D:\\" CHENG, "x"), "D:\\" CHENG "\\x");
    EXPECT_EQ(JoinPath("D:\\" CHENG "\\", "x"), "D:\\" CHENG "\\x");
}

TEST(Mbcs, SeparatorsStepOverDoubleByteCharacters) {
    EXPECT_FALSE(EndsWithSeparator("D:\\" CHENG));
    EXPECT_TRUE(EndsWithSeparator("D:\\" CHENG "\\"));
    EXPECT_TRUE(EndsWithSeparator("a/"));
    EXPECT_FALSE(EndsWithSeparator(""));
    EXPECT_EQ(SeparatorOffsets("D:\\" CHENG XIN "\\Quilm"), (std::vector<size_t>{2, 7}));
    EXPECT_EQ(LastSeparatorOffset("C:\\" CHENG), 2u);
    EXPECT_EQ(LastSeparatorOffset("abc"), std::string::npos);
    // A lone lead byte at the very end is a single byte.
    EXPECT_EQ(LastCharOffset(std::string("a\xD5")), 1u);
    EXPECT_EQ(WithTrailingBackslash("C:\\" CHENG), "C:\\" CHENG "\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\x\\"), "C:\\x\\");
}

TEST(Mbcs, CompareNoCase) {
    EXPECT_EQ(CompareNoCase936("SETUP.EXE", "Setup.exe"), 0);
    EXPECT_EQ(CompareNoCase936("setup.exe", "Setup.exe"), 0);
    EXPECT_NE(CompareNoCase936("Setup.ex", "Setup.exe"), 0);
    EXPECT_NE(CompareNoCase936("Setup.exe1", "Setup.exe"), 0);
    // Trail bytes are never case-folded: 0xB1 0x61 ('a' as trail) differs
    // from 0xB1 0x41 ('A' as trail).
    EXPECT_NE(CompareNoCase936("\xB1\x61", "\xB1\x41"), 0);
    EXPECT_EQ(CompareNoCase936(CHENG "A", CHENG "a"), 0);
}

TEST(FolderPathPrefixes, CutPoints) {
    using V = std::vector<std::string>;
    EXPECT_EQ(FolderPathPrefixes("D:\\A\\B"), (V{"D:\\A", "D:\\A\\B"}));
    EXPECT_EQ(FolderPathPrefixes("D:\\A\\B\\"), (V{"D:\\A", "D:\\A\\B"}));
    EXPECT_EQ(FolderPathPrefixes("D:/A/B"), (V{"D:/A", "D:/A/B"}));
    EXPECT_EQ(FolderPathPrefixes(""), V{});
    EXPECT_EQ(FolderPathPrefixes("\\A"), (V{"\\A"}));
    EXPECT_EQ(FolderPathPrefixes("D:"), V{});
    EXPECT_EQ(FolderPathPrefixes("D:\\"), V{});
    // A network path: never "\\", the server or the share.
    EXPECT_EQ(FolderPathPrefixes("\\\\server\\share\\Quilm\\V8"),
              (V{"\\\\server\\share\\Quilm", "\\\\server\\share\\Quilm\\V8"}));
    EXPECT_EQ(FolderPathPrefixes("\\\\server\\share\\"), V{});
    EXPECT_EQ(FolderPathPrefixes("\\\\server\\share"), V{});
    EXPECT_EQ(FolderPathPrefixes("//server/" CHENG "/Quilm"), (V{"//server/" CHENG "/Quilm"}));
    EXPECT_EQ(FolderPathPrefixes("\\\\?\\UNC\\server\\share\\Q\\"),
              (V{"\\\\?\\UNC\\server\\share\\Q"}));
    EXPECT_EQ(FolderPathPrefixes("\\\\?\\D:\\Q"), (V{"\\\\?\\D:\\Q"}));
    // Not cut inside "誠".
    EXPECT_EQ(FolderPathPrefixes("D:\\" CHENG XIN "\\Quilm"),
              (V{"D:\\" CHENG XIN, "D:\\" CHENG XIN "\\Quilm"}));
}

TEST(TrimBlanks, Ends) {
    EXPECT_EQ(TrimBlanks("  C:\\a b \t"), "C:\\a b");
    EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(Mbcs, LoneLeadByteAtTheEnd) {
    // Not valid code page 936: the lead byte stands alone, so the folder
    // does not end with a separator and one is appended; the appended
    // byte then pairs with it, as it would for the system's own scan.
    std::string value = "~!D:\\M\xAF";
    EXPECT_FALSE(EndsWithSeparator(value));
    EXPECT_EQ(WithTrailingBackslash(value), value + "\\");
    EXPECT_EQ(FolderPathPrefixes(value), (std::vector<std::string>{value}));
}
