// CString: a narrow text value in the ANSI code page that owns its storage.
#pragma once
#include <windows.h>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, size_t length) : m_text(text, length) {}

    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    CString& operator=(const char* text) { m_text = text ? text : ""; return *this; }
    CString& operator+=(const char* text) { m_text += text ? text : ""; return *this; }
    CString& operator+=(char c) { m_text += c; return *this; }
    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }

    // Case-sensitive byte comparison, as strcmp.
    int Compare(const char* other) const;
    // Whole-text comparison without regard to case, multibyte-aware (_mbsicmp).
    int CompareNoCase(const char* other) const;
    friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }

    // printf-style formatting; arguments that are strings must be passed as const char*.
    void Format(const char* format, ...);
    // Loads a string of the program's own resources; empty and FALSE when there is none.
    BOOL LoadString(UINT id);

private:
    std::string m_text;
};
