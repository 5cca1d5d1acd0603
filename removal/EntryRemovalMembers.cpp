// The dialog's removal members: short calls into the removal passes.
#include "ui/UninstallDlg.h"

#include "removal/EntryRemovalPasses.h"

void CUninstallDlg::RemoveEntryLinks(const CString& entryKey)
{
    removal::PerValueCatalogue perValue(*this, entryKey);
    removal::RemoveLinks(perValue);
}

void CUninstallDlg::RemoveEntryFiles(const CString& entryKey)
{
    removal::PerValueCatalogue perValue(*this, entryKey);
    removal::RemoveFiles(perValue);
}

void CUninstallDlg::RemoveEntry(const CString& entryKey)
{
    removal::RemoveEntry(*this, m_productKey, entryKey);
}
