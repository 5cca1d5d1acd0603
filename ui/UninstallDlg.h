// CUninstallDlg: the main dialog of the uninstaller.
#pragma once
#include <windows.h>

#include "framework/String.h"

class CUninstallDlg {
public:
    explicit CUninstallDlg(const CString& productKey) : m_productKey(productKey) {}

    // Catalogue queries.
    BOOL IsFileListedInEntry(const CString& entryKey, const CString& path);
    BOOL IsFileListedByOtherEntry(const CString& entryKey, const CString& path);

    // Removal of one entry: its shortcuts that point at its own files, then its files that
    // no other entry lists, each with the folders that the deletion leaves without files.
    void RemoveEntryLinks(const CString& entryKey);
    void RemoveEntryFiles(const CString& entryKey);
    BOOL LinkTargetBelongsToEntry(const CString& entryKey, const CString& linkPath);

    CString m_productKey;
};
