#include "removal/EntryCatalogue.h"

#include "ui/UninstallDlg.h"

namespace removal {

bool PerValueCatalogue::Link(int n, catalogue::ListedValue& value)
{
    return catalogue::ReadNumberedValue(m_entryKey, catalogue::kLinkValueFormat, n, value);
}

bool PerValueCatalogue::File(int n, catalogue::ListedValue& value)
{
    return catalogue::ReadNumberedValue(m_entryKey, catalogue::kFileValueFormat, n, value);
}

bool PerValueCatalogue::ListedInEntry(const CString& path)
{
    return m_dialog.IsFileListedInEntry(m_entryKey, path) != FALSE;
}

bool PerValueCatalogue::ListedByOtherEntry(const CString& path)
{
    return m_dialog.IsFileListedByOtherEntry(m_entryKey, path) != FALSE;
}

bool PerValueCatalogue::ShortcutListedByOtherEntry(const CString& linkPath)
{
    return m_dialog.IsShortcutListedByOtherEntry(m_entryKey, linkPath) != FALSE;
}

}  // namespace removal
