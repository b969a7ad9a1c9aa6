// Byte-string helpers for code page 936 text.
//
// Paths and record lines are 8-bit strings in the system code page.  A
// separator test must never look at the trail byte of a double-byte
// character: "誠" is D5 5C, and its second byte is the same as "\".
// Everything here steps over double-byte characters by the code page's
// lead-byte rule (0x81..0xFE starts a two-byte character).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline bool IsLeadByte936(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// Offsets of every single-byte "\" or "/" in text, in order.
std::vector<size_t> SeparatorOffsets(const std::string& text);

// Offset of the last character of text (the lead byte of a trailing
// double-byte character), or npos for empty text.
size_t LastCharOffset(const std::string& text);

// True when the last character of text is the single byte c.
bool EndsWithChar(const std::string& text, char c);

// True when the last character is "\" or "/".
bool EndsWithSeparator(const std::string& text);

// Offset of the last single-byte "\" or "/", or npos.
size_t LastSeparatorOffset(const std::string& text);

// Case-insensitive comparison that folds only single-byte ASCII letters
// and compares double-byte characters as they are; 0 when equal.
int CompareNoCase936(const std::string& a, const std::string& b);
