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

    CString m_productKey;
};
