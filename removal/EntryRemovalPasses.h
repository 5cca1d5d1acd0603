// The two removal passes over one catalogue entry: its Link values, then its File values,
// from number 1 up to the first that cannot be read, each deletion with the folders that it
// leaves without files.
#pragma once
#include "framework/String.h"
#include "removal/EntryCatalogue.h"

namespace removal {

// A shortcut goes only when it points at one of the entry's own files and no other entry
// lists it.
void RemoveLinks(EntryCatalogue& source);
// A file goes only when no other entry lists it; of a pattern, each match that no other entry
// lists. Values longer than 259 bytes never go.
void RemoveFiles(EntryCatalogue& source);

// Both passes over one read of the catalogue, watched for changes; per value when the watch
// cannot be set.
void RemoveEntry(CUninstallDlg& dialog, const CString& productKey, const CString& entryKey);

}  // namespace removal
