#include "AfxString.h"

#include <cstdarg>
#include <cstdio>

#include "../common/mbcs.h"
#include "AfxDialog.h"

namespace {

// The code page of the programs' texts: their literals are compiled to it
// and their string tables are read back in it.
const UINT kTextCodePage = 936;

}  // namespace

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
    FormatV(format, args);
    va_end(args);
}

void CString::Format(UINT formatId, ...) {
    const CString format = AfxLoadString(formatId);
    va_list args;
    va_start(args, formatId);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
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
}

CString AfxLoadString(UINT id) {
    // With no buffer the system hands out the table's own UTF-16 text and
    // its length, so no text is ever cut to a buffer's size.
    const wchar_t* wide = nullptr;
    const int length =
        ::LoadStringW(AfxGetInstanceHandle(), id, reinterpret_cast<LPWSTR>(&wide), 0);
    if (length <= 0 || !wide) return CString();
    const int size = ::WideCharToMultiByte(kTextCodePage, 0, wide, length, NULL, 0, NULL, NULL);
    if (size <= 0) return CString();
    std::string text(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(kTextCodePage, 0, wide, length, &text[0], size, NULL, NULL);
    return CString(text);
}
