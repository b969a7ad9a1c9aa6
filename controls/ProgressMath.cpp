#include "ProgressMath.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/mbcs.h"

namespace progress {

double Fraction(int pos, int lower, int upper) {
    if (lower >= upper) return 0.0;
    return (static_cast<double>(pos) - lower) / (static_cast<double>(upper) - lower);
}

static int SaturateToInt(double value) {
    if (!(value == value)) return 0;  // NaN
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483647.0) return -2147483647;
    return static_cast<int>(value);
}

int FilledWidth(int pos, int lower, int upper, int width) {
    return SaturateToInt(std::trunc(Fraction(pos, lower, upper) * width));
}

std::string PercentText(int pos, int lower, int upper) {
    // At most (2^32 - 1) x 100, which a long long holds exactly.
    const long long percent =
        static_cast<long long>(std::trunc(Fraction(pos, lower, upper) * 100.0));
    char text[32];
    std::snprintf(text, sizeof(text), "%lld%%", percent);
    return text;
}

size_t CopyText(const std::string& text, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    const size_t limit = size - 1;
    size_t n = 0;
    while (n < text.size()) {
        const size_t step =
            IsLeadByte936(static_cast<unsigned char>(text[n])) && n + 1 < text.size() ? 2 : 1;
        if (n + step > limit) break;
        n += step;
    }
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

}  // namespace progress
