// What a removal left on the disk: the files that it tried to delete and that are still
// there. The Remove command empties the record before an application and reads it after the
// application's passes, to keep the catalogue entry of an application that is not gone.
#pragma once
#include <vector>

#include "framework/String.h"

class CLeftBehindFiles {
public:
    void Reset() { m_files.clear(); }
    void Note(const CString& path) { m_files.push_back(path); }
    bool IsEmpty() const { return m_files.empty(); }
    const std::vector<CString>& Files() const { return m_files; }

private:
    std::vector<CString> m_files;
};
