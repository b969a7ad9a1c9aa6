// The percentage progress bar's arithmetic, platform-free.
#pragma once

#include <cstddef>
#include <string>

namespace progress {
// Fraction done, (pos - lower) / (upper - lower) in double precision; 0
// for an empty or inverted range (which would otherwise divide by zero).
double Fraction(int pos, int lower, int upper);
// trunc(fraction x width), saturated to the int range.
int FilledWidth(int pos, int lower, int upper, int width);
// "%d%%" of trunc(fraction x 100), exact for any position.
std::string PercentText(int pos, int lower, int upper);
// Copies text into a caller's buffer of size bytes as WM_GETTEXT does:
// at most size - 1 bytes, never half of a double-byte character, always
// terminated (when size > 0).  Returns the bytes copied.
size_t CopyText(const std::string& text, char* buffer, size_t size);
}  // namespace progress
