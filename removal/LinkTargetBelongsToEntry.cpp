// Whether a shortcut points at one of the entry's own files.
#include "ui/UninstallDlg.h"

#include "removal/ShortcutTarget.h"

BOOL CUninstallDlg::LinkTargetBelongsToEntry(const CString& entryKey, const CString& linkPath)
{
    CString target;
    return removal::ReadShortcutTarget(linkPath, target) && IsFileListedInEntry(entryKey, target);
}
