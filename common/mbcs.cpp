#include "mbcs.h"

std::vector<size_t> SeparatorOffsets(const std::string& text) {
    std::vector<size_t> offsets;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte936(c) && i + 1 < text.size()) {
            ++i;  // skip the trail byte
            continue;
        }
        if (IsPathSeparator(text[i])) offsets.push_back(i);
    }
    return offsets;
}

size_t LastCharOffset(const std::string& text) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        last = i;
        if (IsLeadByte936(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
    }
    return last;
}

bool EndsWithChar(const std::string& text, char c) {
    size_t last = LastCharOffset(text);
    return last != std::string::npos && last == text.size() - 1 && text[last] == c;
}

bool EndsWithSeparator(const std::string& text) {
    return EndsWithChar(text, '\\') || EndsWithChar(text, '/');
}

size_t LastSeparatorOffset(const std::string& text) {
    std::vector<size_t> offsets = SeparatorOffsets(text);
    return offsets.empty() ? std::string::npos : offsets.back();
}

static unsigned char FoldAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

int CompareNoCase936(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[j]);
        bool leadA = IsLeadByte936(ca) && i + 1 < a.size();
        bool leadB = IsLeadByte936(cb) && j + 1 < b.size();
        if (leadA || leadB) {
            // Double-byte characters compare by their two bytes, unfolded.
            unsigned va = leadA ? (ca << 8 | static_cast<unsigned char>(a[i + 1])) : FoldAscii(ca);
            unsigned vb = leadB ? (cb << 8 | static_cast<unsigned char>(b[j + 1])) : FoldAscii(cb);
            if (va != vb) return va < vb ? -1 : 1;
            i += leadA ? 2 : 1;
            j += leadB ? 2 : 1;
            continue;
        }
        unsigned char fa = FoldAscii(ca), fb = FoldAscii(cb);
        if (fa != fb) return fa < fb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}
