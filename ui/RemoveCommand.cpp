// The Remove command: one confirmation, then every selected application's shortcuts, files,
// row and catalogue entry, then one completion notice that says whether files were left.
#include "ui/UninstallDlg.h"

#include "app/UninstallApp.h"
#include "framework/WinApp.h"
#include "registry/Catalogue.h"
#include "registry/RegistryPath.h"
#include "res/resource.h"

namespace {
// The help context of both boxes; it has no effect.
constexpr UINT kNoHelp = static_cast<UINT>(-1);
}

void CUninstallDlg::OnRemove()
{
    CUninstallApp* app = static_cast<CUninstallApp*>(AfxGetApp());
    // Both boxes are owned by the dialog, so nothing in it (Close above all) can be pressed
    // while one is open.
    if (app->LocalizedMessageBox(IDS_CONFIRM_REMOVE, MB_YESNO, kNoHelp, m_hWnd) != IDYES)
        return;

    BeginWaitCursor();
    bool anyLeftBehind = false;
    // From the last row up: deleting a row leaves the rows still to visit where they were.
    for (int row = m_appList.GetCount() - 1; row >= 0; --row) {
        if (m_appList.GetSel(row) <= 0)
            continue;
        const int index = static_cast<int>(m_appList.GetItemData(row));
        const CString entryKey = catalogue::EntryKey(m_productKey, index);
        app->m_leftBehind.Reset();
        RemoveEntry(entryKey);
        // An application that left files behind keeps its row and its entry, so that the
        // catalogue still knows them and the user can remove it again; what went stays gone.
        if (!app->m_leftBehind.IsEmpty()) {
            anyLeftBehind = true;
            continue;
        }
        m_appList.DeleteString(static_cast<UINT>(row));
        DeleteKeyPath(HKEY_LOCAL_MACHINE, entryKey);
    }
    EndWaitCursor();

    // Remove follows the list again: enabled only while a row that stayed is still selected.
    UpdateData(FALSE);
    app->LocalizedMessageBox(anyLeftBehind ? IDS_FILES_IN_USE : IDS_REMOVE_DONE, MB_OK, kNoHelp, m_hWnd);
}
