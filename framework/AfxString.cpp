#include "AfxString.h"

#include <cstdarg>
#include <cstdio>

#include "../common/mbcs.h"

static bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void CString::TrimLeft() {
    size_t n = 0;
    while (n < m_str.size() && IsBlank(m_str[n])) ++n;
    m_str.erase(0, n);
}

void CString::TrimRight() {
    // Blanks are single bytes below 0x40, never trail bytes of GBK.
    while (!m_str.empty() && IsBlank(m_str.back())) m_str.pop_back();
}

int CString::CompareNoCase(const char* other) const {
    return CompareNoCase936(m_str, other ? other : "");
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        m_str.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        vsnprintf(buffer.data(), buffer.size(), format, args);
        m_str.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
}
