// The closing hand-over: every way of closing the main dialog ends here. It points the
// product's "UninstallString" at the uninstaller of an application that is still installed,
// deletes the product key when none is left, and ends the dialog with IDOK when the running
// program may delete itself, with IDCANCEL when it is a remaining application's uninstaller.
#include "ui/UninstallDlg.h"

#include "framework/WinApp.h"
#include "registry/Catalogue.h"
#include "registry/RegistryPath.h"

void CUninstallDlg::OnOK()
{
    char runningPath[MAX_PATH] = "";
    ::GetModuleFileNameA(AfxGetInstanceHandle(), runningPath, sizeof runningPath);

    bool nothingLeft = true;
    bool mayDeleteSelf = true;
    // The same entries as the list shows, App0 included: an App0 that is the last one left
    // keeps its catalogue and its uninstaller.
    for (int i = catalogue::kFirstListedEntry; i <= catalogue::kLastListedEntry; ++i) {
        const CString entryKey = catalogue::EntryKey(m_productKey, i);
        CString directory;
        if (!catalogue::ReadValue(entryKey, catalogue::kDirectoryValue, directory))
            continue;
        nothingLeft = false;
        const CString uninstallerPath = directory + catalogue::kUninstallerFileName;
        // Written for every remaining entry: the highest one's uninstaller is what stays.
        WriteStringValue(HKEY_LOCAL_MACHINE, m_productKey, catalogue::kUninstallStringValue, uninstallerPath);
        if (uninstallerPath.CompareNoCase(runningPath) == 0)
            mayDeleteSelf = false;
    }

    if (nothingLeft)
        DeleteKeyPath(HKEY_LOCAL_MACHINE, m_productKey);

    if (mayDeleteSelf)
        CDialog::OnOK();
    else
        CDialog::OnCancel();
}
