#include "framework/String.h"

#include "framework/WinApp.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mbstring.h>
#include <vector>

int CString::Compare(const char* other) const
{
    return std::strcmp(m_text.c_str(), other ? other : "");
}

int CString::CompareNoCase(const char* other) const
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(m_text.c_str()),
                    reinterpret_cast<const unsigned char*>(other ? other : ""));
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        m_text.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        m_text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
}

BOOL CString::LoadString(UINT id)
{
    // LoadStringA reports a cut text as filling the buffer; grow until it fits.
    std::vector<char> buffer(256);
    for (;;) {
        const int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer.data(),
                                         static_cast<int>(buffer.size()));
        if (length <= 0) {
            m_text.clear();
            return FALSE;
        }
        if (static_cast<size_t>(length) < buffer.size() - 1) {
            m_text.assign(buffer.data(), static_cast<size_t>(length));
            return TRUE;
        }
        buffer.resize(buffer.size() * 2);
    }
}
