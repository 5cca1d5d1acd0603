#include "removal/EntryRemovalPasses.h"

#include "app/UninstallApp.h"
#include "framework/WinApp.h"
#include "removal/OneReadCatalogue.h"
#include "removal/PathIdentity.h"
#include "removal/ShortcutTarget.h"

namespace removal {

namespace {

CUninstallApp* TheApp()
{
    return static_cast<CUninstallApp*>(AfxGetApp());
}

// A value longer than 259 bytes was cut when it was read, and the cut text may name quite
// another path (trailing blanks are dropped by the platform): it is never deleted. A path
// that long cannot be opened through these calls anyway.
bool LinkGoes(EntryCatalogue& source, const catalogue::ListedValue& link)
{
    if (link.cut)
        return false;
    // One that another entry lists stays with it, wherever it points.
    CString target;
    return ReadShortcutTarget(link.text, target) && source.ListedInEntry(target) &&
           !source.ShortcutListedByOtherEntry(link.text);
}

bool FileGoes(EntryCatalogue& source, const catalogue::ListedValue& file)
{
    return !file.cut && !source.ListedByOtherEntry(file.text);
}

// A pattern is decided match by match, each against the catalogue as it is just before that
// match goes: another entry may list some of what it matches.
void DeleteListedFile(EntryCatalogue& source, const CString& file)
{
    if (!IsPathPattern(file)) {
        TheApp()->DeletePathAndPruneParents(file);
        return;
    }
    TheApp()->DeletePathAndPruneParents(file, [&source](const CString& match) {
        source.ChangedSinceRead();  // reads the lists again when they have changed
        return source.ListedByOtherEntry(match);
    });
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
        TheApp()->DeletePathAndPruneParents(link.text);
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
        DeleteListedFile(source, file.text);
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
