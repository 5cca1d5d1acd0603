// CFileFind: a file search over FindFirstFileA/FindNextFileA. The loop protocol is
//     BOOL more = find.FindFile(pattern);
//     while (more) { more = find.FindNextFile(); ...use the current match... }
// so the search always reads one match ahead of the one handed out.
#pragma once
#include <windows.h>

#include "framework/String.h"
#include "framework/UniqueHandle.h"

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() = default;  // the search handle closes itself
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search for a wildcard pattern or a plain path. FALSE when nothing matches or
    // when the absolute form of the pattern does not fit in MAX_PATH - 1 characters.
    BOOL FindFile(const char* pattern);
    // Makes the next match current; TRUE when a further match follows it.
    BOOL FindNextFile();
    // Ends the search; the object can start another one.
    void Close();

    // The current match.
    CString GetFileName() const;
    CString GetFilePath() const;
    BOOL IsDots() const;
    BOOL MatchesMask(DWORD mask) const;

private:
    FindHandle m_search;
    CString m_root;
    WIN32_FIND_DATAA m_current{};
    WIN32_FIND_DATAA m_next{};
};
