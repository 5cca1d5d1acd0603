// The ownership queries of the catalogue: does an entry list a path among its File values,
// and does any entry other than the one being removed list it. Paths are compared by the
// file that they name (PathIdentity), and a File value that is a pattern lists every file
// and directory that it matches on disk when the question is asked.
#include "ui/UninstallDlg.h"

#include "registry/Catalogue.h"
#include "removal/PathIdentity.h"

namespace {

// Whether one value of an entry names the file of the given identity.
bool ValueNames(const CString& value, const CString& identity, bool patternsCount)
{
    for (const CString& named : NamedIdentities(value, patternsCount)) {
        if (identity.CompareNoCase(named) == 0)
            return true;
    }
    return false;
}

// Whether one of the entry's numbered values ("File %i" or "Link %i") names the identity. The
// list runs from number 1 to the first number that cannot be read.
bool ListNames(const char* entryKey, const char* nameFormat, const CString& identity, bool patternsCount)
{
    CString value;
    for (int n = 1; catalogue::ReadNumberedValue(entryKey, nameFormat, n, value); ++n) {
        if (ValueNames(value, identity, patternsCount))
            return true;
    }
    return false;
}

}  // namespace

BOOL CUninstallDlg::IsFileListedInEntry(const CString& entryKey, const CString& path)
{
    return ListNames(entryKey, catalogue::kFileValueFormat, PathIdentity(path), true);
}

BOOL CUninstallDlg::IsFileListedByOtherEntry(const CString& entryKey, const CString& path)
{
    return IsListedByOtherEntry(entryKey, path, false);
}

BOOL CUninstallDlg::IsShortcutListedByOtherEntry(const CString& entryKey, const CString& linkPath)
{
    return IsListedByOtherEntry(entryKey, linkPath, true);
}

BOOL CUninstallDlg::IsListedByOtherEntry(const CString& entryKey, const CString& path, bool linksCount)
{
    const CString identity = PathIdentity(path);
    // Entry 0 is consulted too: it is listed and can be kept, so its files must stay.
    for (int i = catalogue::kFirstOtherEntry; i <= catalogue::kLastOtherEntry; ++i) {
        CString candidate;
        candidate.Format(catalogue::kOtherEntryKeyFormat, m_productKey.GetString(), i);
        if (candidate.CompareNoCase(entryKey) == 0)
            continue;  // an entry never protects its own files
        if (ListNames(candidate, catalogue::kFileValueFormat, identity, true))
            return TRUE;
        // A Link value lists a shortcut whatever the shortcut points at; it is never a pattern
        // that the removal would search.
        if (linksCount && ListNames(candidate, catalogue::kLinkValueFormat, identity, false))
            return TRUE;
    }
    return FALSE;
}
