// The two ownership queries of the catalogue: does an entry list a path among its File
// values, and does any entry other than the one being removed list it.
#include "ui/UninstallDlg.h"

#include "registry/Catalogue.h"

BOOL CUninstallDlg::IsFileListedInEntry(const CString& entryKey, const CString& path)
{
    // The list runs from File 1 to the first number that cannot be read.
    CString value;
    for (int n = 1; catalogue::ReadNumberedValue(entryKey, catalogue::kFileValueFormat, n, value); ++n) {
        if (path.CompareNoCase(value) == 0)
            return TRUE;
    }
    return FALSE;
}

BOOL CUninstallDlg::IsFileListedByOtherEntry(const CString& entryKey, const CString& path)
{
    // Entry 0 is consulted too: it is listed and can be kept, so its files must stay.
    for (int i = catalogue::kFirstOtherEntry; i <= catalogue::kLastOtherEntry; ++i) {
        CString candidate;
        candidate.Format(catalogue::kOtherEntryKeyFormat, m_productKey.GetString(), i);
        if (candidate.CompareNoCase(entryKey) == 0)
            continue;  // an entry never protects its own files
        if (IsFileListedInEntry(candidate, path))
            return TRUE;
    }
    return FALSE;
}
