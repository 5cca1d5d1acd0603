// What one removal of an entry reads of the catalogue, each entry key opened once: the
// entry's own Link and File lists, and the File and Link lists of the other entries that can
// protect its files and shortcuts.
#pragma once
#include <windows.h>

#include <vector>

#include "registry/Catalogue.h"

namespace catalogue {

using ValueList = std::vector<ListedValue>;

// The values of one numbered list of an open entry key, from number 1 up to the first that
// cannot be read, each as ReadNumberedValue reads it.
ValueList ReadList(HKEY entryKey, const char* nameFormat);

struct RemovalLists {
    ValueList links;
    ValueList files;
    // The File and Link lists of the entries from kFirstOtherEntry to kLastOtherEntry other
    // than the one being removed (a missing entry lists nothing).
    std::vector<ValueList> otherFiles;
    std::vector<ValueList> otherLinks;
};

RemovalLists ReadRemovalLists(const char* productKey, const char* entryKey);

}  // namespace catalogue
