// The two removal passes over one catalogue entry: its Link values, then its File values,
// from number 1 up to the first that cannot be read.
#include "ui/UninstallDlg.h"

#include "app/UninstallApp.h"
#include "framework/WinApp.h"
#include "registry/Catalogue.h"
#include "removal/PathIdentity.h"

namespace {

CUninstallApp* TheApp()
{
    return static_cast<CUninstallApp*>(AfxGetApp());
}

}  // namespace

void CUninstallDlg::RemoveEntryLinks(const CString& entryKey)
{
    // A shortcut goes only when it points at one of the entry's own files; the files are
    // still listed, since this pass runs first. One that another entry lists stays with it.
    CString link;
    for (int n = 1; catalogue::ReadNumberedValue(entryKey, catalogue::kLinkValueFormat, n, link); ++n) {
        if (LinkTargetBelongsToEntry(entryKey, link) && !IsShortcutListedByOtherEntry(entryKey, link))
            TheApp()->DeletePathAndPruneParents(link);
    }
}

void CUninstallDlg::RemoveEntryFiles(const CString& entryKey)
{
    // A file that another entry still lists stays for that entry. A pattern is decided match
    // by match: another entry may list some of what it matches.
    CString file;
    for (int n = 1; catalogue::ReadNumberedValue(entryKey, catalogue::kFileValueFormat, n, file); ++n) {
        if (IsFileListedByOtherEntry(entryKey, file))
            continue;
        if (IsPathPattern(file)) {
            TheApp()->DeletePathAndPruneParents(file, [&](const CString& match) {
                return IsFileListedByOtherEntry(entryKey, match) != FALSE;
            });
        } else {
            TheApp()->DeletePathAndPruneParents(file);
        }
    }
}
