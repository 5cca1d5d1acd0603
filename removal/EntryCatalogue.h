// What the removal passes over one entry ask of the catalogue. Two ways of answering: reading
// every value anew at the moment it is asked for, or reading the lists once and watching the
// product key for changes.
#pragma once
#include "framework/String.h"
#include "registry/Catalogue.h"

class CUninstallDlg;

namespace removal {

class EntryCatalogue {
public:
    virtual ~EntryCatalogue() = default;
    // Value n (from 1) of the entry's Link or File list; false from the first gap on.
    virtual bool Link(int n, catalogue::ListedValue& value) = 0;
    virtual bool File(int n, catalogue::ListedValue& value) = 0;
    // Whether the entry's own File list, or that of another entry, names the file that the
    // path names (a pattern names what it matches on disk).
    virtual bool ListedInEntry(const CString& path) = 0;
    virtual bool ListedByOtherEntry(const CString& path) = 0;
    // Whether another entry lists the shortcut file among its File or its Link values.
    virtual bool ShortcutListedByOtherEntry(const CString& linkPath) = 0;
    // Asked before each deletion: true when the catalogue may have changed since the answers
    // that led to it, which must then be asked again.
    virtual bool ChangedSinceRead() = 0;
};

// Every answer is read from the registry when it is asked for, each value through its key
// path, as the catalogue queries of the dialog do.
class PerValueCatalogue : public EntryCatalogue {
public:
    PerValueCatalogue(CUninstallDlg& dialog, const CString& entryKey) : m_dialog(dialog), m_entryKey(entryKey) {}
    bool Link(int n, catalogue::ListedValue& value) override;
    bool File(int n, catalogue::ListedValue& value) override;
    bool ListedInEntry(const CString& path) override;
    bool ListedByOtherEntry(const CString& path) override;
    bool ShortcutListedByOtherEntry(const CString& linkPath) override;
    // Every answer is of its own moment.
    bool ChangedSinceRead() override { return false; }

private:
    CUninstallDlg& m_dialog;
    CString m_entryKey;
};

}  // namespace removal
