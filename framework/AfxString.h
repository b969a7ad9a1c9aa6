// CString: the framework's 8-bit text string (code page 936 bytes).
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "AfxDebug.h"

class CString {
public:
    CString() = default;
    CString(const char* text) : m_str(text ? text : "") {}
    CString(const std::string& text) : m_str(text) {}
    CString(const char* text, int length) : m_str(text, static_cast<size_t>(length)) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator LPCSTR() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }
    std::string& str() { return m_str; }

    CString& operator=(const char* text) {
        m_str = text ? text : "";
        return *this;
    }
    CString& operator+=(const CString& text) {
        m_str += text.m_str;
        return *this;
    }
    CString& operator+=(const char* text) {
        m_str += text;
        return *this;
    }
    CString& operator+=(char c) {
        m_str += c;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_str + b.m_str);
    }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_str + b); }
    friend CString operator+(const char* a, const CString& b) { return CString(a + b.m_str); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == b; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }

    void TrimLeft();
    void TrimRight();
    void Trim() {
        TrimRight();
        TrimLeft();
    }
    // Multibyte-aware, ignoring the case of ASCII letters; 0 when equal.
    int CompareNoCase(const char* other) const;
    void Format(const char* format, ...);
    // The same with the format taken from the string table (AfxLoadString).
    void Format(UINT formatId, ...);

private:
    void FormatV(const char* format, va_list args);

    std::string m_str;
};

// The text of string id of the running program's string table, in code
// page 936 whatever the system's code page (as the program's literals
// are), of any length; empty when the table has no such string.
CString AfxLoadString(UINT id);

class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    void RemoveAll() { m_items.clear(); }
    int Add(const CString& item) {
        m_items.push_back(item);
        return GetSize() - 1;
    }
    const CString& GetAt(int index) const {
        AFXASSERT(index >= 0 && index < GetSize());
        return m_items[static_cast<size_t>(index)];
    }
    const CString& operator[](int index) const { return GetAt(index); }

private:
    std::vector<CString> m_items;
};
