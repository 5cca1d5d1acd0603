// CUninstallDlg: the main dialog of the uninstaller. It lists the installed applications of
// the catalogue, removes the selected ones, and on closing hands the catalogue over.
#pragma once
#include <windows.h>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "framework/UniqueHandle.h"

class CUninstallDlg : public CDialog {
public:
    // The template follows the language flag: 1 is German, anything else English.
    explicit CUninstallDlg(const CString& productKey, int nLanguage = 0, CWnd* pParent = nullptr);
    ~CUninstallDlg() override;

    BOOL OnInitDialog() override;

    // Catalogue queries. Paths are compared by the file that they name, and a File value that
    // is a pattern lists what it matches on disk.
    BOOL IsFileListedInEntry(const CString& entryKey, const CString& path);
    BOOL IsFileListedByOtherEntry(const CString& entryKey, const CString& path);
    // Another entry lists the shortcut file among its File or its Link values.
    BOOL IsShortcutListedByOtherEntry(const CString& entryKey, const CString& linkPath);

    // Removal of one entry: its shortcuts that point at its own files and that no other entry
    // lists, then its files that no other entry lists, each with the folders that the
    // deletion leaves without files.
    // RemoveEntry runs both passes on one read of the catalogue; the two passes on their own
    // read every value when they need it.
    void RemoveEntry(const CString& entryKey);
    void RemoveEntryLinks(const CString& entryKey);
    void RemoveEntryFiles(const CString& entryKey);
    BOOL LinkTargetBelongsToEntry(const CString& entryKey, const CString& linkPath);

    CString m_productKey;
    CButton m_iconButton;
    CButton m_removeButton;
    CListBox m_appList;
    // The 48x48 image of the product icon: the window's icons and the icon button's picture.
    IconHandle m_hIcon;

protected:
    BOOL IsListedByOtherEntry(const CString& entryKey, const CString& path, bool linksCount);

    void DoDataExchange(CDataExchange* pDX) override;
    // The closing hand-over: every way of closing the dialog ends here.
    void OnOK() override;
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    void OnSelChangeAppList();
    // The Remove command: removes the applications of the selected rows.
    void OnRemove();

    DECLARE_MESSAGE_MAP()
};
