#include "framework/FileFind.h"

#include "framework/PathText.h"

#include <cstring>

BOOL CFileFind::FindFile(const char* pattern)
{
    Close();
    if (!pattern || *pattern == '\0')
        return FALSE;

    // The matches' full paths hang off the directory part of the absolute pattern.
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(pattern, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        return FALSE;

    m_search.Reset(::FindFirstFileA(pattern, &m_next));
    if (!m_search)
        return FALSE;

    const char* separator = LastPathSeparator(full);
    m_root = separator ? CString(full, static_cast<size_t>(separator - full)) : CString(full);
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_search)
        return FALSE;
    m_current = m_next;
    if (::FindNextFileA(m_search.Get(), &m_next))
        return TRUE;
    // The current match stays readable after the last one; the next call reports no more.
    m_search.Reset();
    return FALSE;
}

void CFileFind::Close()
{
    m_search.Reset();
    m_root.Empty();
    m_current = WIN32_FIND_DATAA{};
    m_next = WIN32_FIND_DATAA{};
}

CString CFileFind::GetFileName() const
{
    return CString(m_current.cFileName);
}

CString CFileFind::GetFilePath() const
{
    CString path = m_root;
    const int length = path.GetLength();
    const char last = length > 0 ? path.GetString()[length - 1] : '\0';
    if (last != '\\' && last != '/')
        path += '\\';
    path += m_current.cFileName;
    return path;
}

BOOL CFileFind::IsDots() const
{
    if (!MatchesMask(FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    return std::strcmp(m_current.cFileName, ".") == 0 || std::strcmp(m_current.cFileName, "..") == 0;
}

BOOL CFileFind::MatchesMask(DWORD mask) const
{
    return (m_current.dwFileAttributes & mask) != 0;
}
