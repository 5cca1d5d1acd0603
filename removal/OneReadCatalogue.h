// The catalogue as one removal of an entry reads it: the lists are read once, each entry key
// opened once, while a watch on the product key tells whether anything has changed since.
// Nothing is answered from a stale read: when the watch has fired, the lists are read again
// before the next deletion; when it cannot be kept, every answer is read per value. Each value
// is brought to the form it is compared by, and each pattern searched on disk, once per read
// as well: a file that appears after the read is not seen as a match until the next one.
#pragma once
#include "registry/CatalogueLists.h"
#include "registry/CatalogueWatch.h"
#include "removal/EntryCatalogue.h"
#include "removal/ListedPaths.h"

namespace removal {

class OneReadCatalogue : public EntryCatalogue {
public:
    OneReadCatalogue(CUninstallDlg& dialog, const CString& productKey, const CString& entryKey);
    // Arms the watch and reads the lists; false (and nothing read) when the watch cannot be set.
    bool Open();

    bool Link(int n, catalogue::ListedValue& value) override;
    bool File(int n, catalogue::ListedValue& value) override;
    bool ListedInEntry(const CString& path) override;
    bool ListedByOtherEntry(const CString& path) override;
    bool ShortcutListedByOtherEntry(const CString& linkPath) override;
    bool ChangedSinceRead() override;

    // The values read, other entries' included, as they are in the registry.
    const catalogue::RemovalLists& Lists() const { return m_lists; }

private:
    void Read();

    CString m_productKey;
    CString m_entryKey;
    catalogue::CatalogueWatch m_watch;
    catalogue::RemovalLists m_lists;
    // What the lists name, each value brought to its identity and each pattern expanded once
    // per read.
    ListedPaths m_ownFiles;
    ListedPaths m_otherFiles;
    ListedPaths m_otherLinks;
    // Set when the watch could not be armed anew: from then on every answer is read per value.
    bool m_perValue = false;
    PerValueCatalogue m_fallback;
};

}  // namespace removal
