#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "controls/ProgressMath.h"

namespace {

using progress::CopyText;
using progress::FilledWidth;
using progress::PercentText;

TEST(ProgressMath, HalfOf396Pixels) {
    EXPECT_EQ(198, FilledWidth(50, 0, 100, 396));
    EXPECT_EQ("50%", PercentText(50, 0, 100));
}

TEST(ProgressMath, FiftyPixelBar) {
    EXPECT_EQ(0, FilledWidth(0, 0, 100, 50));
    EXPECT_EQ(0, FilledWidth(1, 0, 100, 50));
    EXPECT_EQ(1, FilledWidth(2, 0, 100, 50));
    EXPECT_EQ(1, FilledWidth(3, 0, 100, 50));  // trunc(1.5)
    EXPECT_EQ(2, FilledWidth(4, 0, 100, 50));
    EXPECT_EQ("2%", PercentText(2, 0, 100));
    EXPECT_EQ("4%", PercentText(4, 0, 100));
}

TEST(ProgressMath, TruncatesThePercentage) {
    EXPECT_EQ("66%", PercentText(2, 0, 3));
    EXPECT_EQ("33%", PercentText(1, 0, 3));
    EXPECT_EQ("100%", PercentText(3, 0, 3));
    EXPECT_EQ(26, FilledWidth(2, 0, 3, 40));
}

TEST(ProgressMath, PositionsAreNotClamped) {
    EXPECT_EQ("120%", PercentText(120, 0, 100));
    EXPECT_EQ(60, FilledWidth(120, 0, 100, 50));
    EXPECT_EQ("-10%", PercentText(-10, 0, 100));
}

TEST(ProgressMath, EmptyRangeDoesNotDivideByZero) {
    EXPECT_EQ(0, FilledWidth(5, 7, 7, 100));
    EXPECT_EQ("0%", PercentText(5, 7, 7));
    EXPECT_EQ(0, FilledWidth(5, 9, 2, 100));
    EXPECT_EQ("0%", PercentText(5, 9, 2));
}

TEST(ProgressMath, FarPositionsStayExact) {
    // (INT_MAX - INT_MIN) / 1 x 100 does not fit an int: shown exactly.
    EXPECT_EQ("429496729500%", PercentText(INT_MAX, INT_MIN, INT_MIN + 1));
    EXPECT_EQ(INT_MAX, FilledWidth(INT_MAX, INT_MIN, INT_MIN + 1, 400));
    EXPECT_EQ(-INT_MAX, FilledWidth(INT_MIN, 0, 1, 400));
    EXPECT_EQ("100%", PercentText(INT_MAX, INT_MIN, INT_MAX));
    EXPECT_EQ(400, FilledWidth(INT_MAX, INT_MIN, INT_MAX, 400));
    EXPECT_EQ("50%", PercentText(0, INT_MIN, INT_MAX));
}

TEST(ProgressMath, CopyTextTerminatesAndKeepsCharactersWhole) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(3u, CopyText("abc", buffer, sizeof(buffer)));
    EXPECT_STREQ("abc", buffer);

    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(3u, CopyText("abcdef", buffer, 4));
    EXPECT_STREQ("abc", buffer);
    EXPECT_EQ('x', buffer[4]);

    // "复制中" in code page 936 is six bytes: a 6-byte buffer holds two
    // characters, never a lone lead byte.
    const std::string text("\xB8\xB4\xD6\xC6\xD6\xD0");
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(4u, CopyText(text, buffer, 6));
    EXPECT_EQ(std::string("\xB8\xB4\xD6\xC6"), std::string(buffer));
    EXPECT_EQ(2u, CopyText(text, buffer, 4));
    EXPECT_EQ(0u, CopyText(text, buffer, 2));
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ(0u, CopyText(text, buffer, 0));
    EXPECT_EQ(0u, CopyText(text, nullptr, 8));
}

}  // namespace
