#include "removal/EntryRemovalPasses.h"

#include "app/UninstallApp.h"
#include "framework/WinApp.h"
#include "removal/OneReadCatalogue.h"
#include "removal/ShortcutTarget.h"

namespace removal {

namespace {

void Delete(const CString& path)
{
    static_cast<CUninstallApp*>(AfxGetApp())->DeletePathAndPruneParents(path);
}

// A value longer than 259 bytes was cut when it was read, and the cut text may name quite
// another path (trailing blanks are dropped by the platform): it is never deleted. A path
// that long cannot be opened through these calls anyway.
bool LinkGoes(EntryCatalogue& source, const catalogue::ListedValue& link)
{
    if (link.cut)
        return false;
    CString target;
    return ReadShortcutTarget(link.text, target) && source.ListedInEntry(target);
}

bool FileGoes(EntryCatalogue& source, const catalogue::ListedValue& file)
{
    return !file.cut && !source.ListedByOtherEntry(file.text);
}

}  // namespace

void RemoveLinks(EntryCatalogue& source)
{
    // The files are still listed, since this pass runs first.
    catalogue::ListedValue link;
    for (int n = 1; source.Link(n, link); ++n) {
        if (!LinkGoes(source, link))
            continue;
        // Decided on what was read: taken again when the catalogue has changed since.
        if (source.ChangedSinceRead() && !(source.Link(n, link) && LinkGoes(source, link)))
            continue;
        Delete(link.text);
    }
}

void RemoveFiles(EntryCatalogue& source)
{
    catalogue::ListedValue file;
    for (int n = 1; source.File(n, file); ++n) {
        if (!FileGoes(source, file))
            continue;
        if (source.ChangedSinceRead() && !(source.File(n, file) && FileGoes(source, file)))
            continue;
        Delete(file.text);
    }
}

void RemoveEntry(CUninstallDlg& dialog, const CString& productKey, const CString& entryKey)
{
    OneReadCatalogue oneRead(dialog, productKey, entryKey);
    if (oneRead.Open()) {
        RemoveLinks(oneRead);
        RemoveFiles(oneRead);
        return;
    }
    PerValueCatalogue perValue(dialog, entryKey);
    RemoveLinks(perValue);
    RemoveFiles(perValue);
}

}  // namespace removal
