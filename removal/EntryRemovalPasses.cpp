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

void DeleteListedLink(EntryCatalogue&, const CString& link)
{
    TheApp()->DeletePathAndPruneParents(link);
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

using ListReader = bool (EntryCatalogue::*)(int n, catalogue::ListedValue& value);
using Decision = bool (*)(EntryCatalogue& source, const catalogue::ListedValue& value);
using Deletion = void (*)(EntryCatalogue& source, const CString& path);

// Deletes each value of one of the entry's lists that goes, from number 1 up to the first gap.
void DeleteWhatGoes(EntryCatalogue& source, ListReader list, Decision goes, Deletion remove)
{
    catalogue::ListedValue value;
    for (int n = 1; (source.*list)(n, value); ++n) {
        if (!goes(source, value))
            continue;
        // Decided on what was read: taken again when the catalogue has changed since.
        if (source.ChangedSinceRead() && !((source.*list)(n, value) && goes(source, value)))
            continue;
        remove(source, value.text);
    }
}

}  // namespace

void RemoveLinks(EntryCatalogue& source)
{
    // The files are still listed, since this pass runs first.
    DeleteWhatGoes(source, &EntryCatalogue::Link, &LinkGoes, &DeleteListedLink);
}

void RemoveFiles(EntryCatalogue& source)
{
    DeleteWhatGoes(source, &EntryCatalogue::File, &FileGoes, &DeleteListedFile);
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
