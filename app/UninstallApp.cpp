#include "app/UninstallApp.h"

#include <commctrl.h>

#include "ui/UninstallDlg.h"

// The one application object of the process.
CUninstallApp theApp;

CUninstallApp::CUninstallApp() : CWinApp(nullptr)
{
}

CUninstallApp::~CUninstallApp() = default;

BOOL CUninstallApp::InitInstance()
{
    // The self-deleter shows nothing and reads nothing: it only deletes.
    if (RunAsSelfDeleter())
        return FALSE;

    ::InitCommonControls();
    const CString productKey = ComposeProductKey();
    m_nLanguage = ReadLanguageFlag(productKey);

    CUninstallDlg dialog(productKey, m_nLanguage, nullptr);
    m_pMainWnd = &dialog;
    // The closing hand-over decides: IDOK when this program's file is to go.
    if (dialog.DoModal() == IDOK)
        SpawnSelfDeleter();
    m_pMainWnd = nullptr;

    // Never a message loop: everything happens in the modal dialog.
    return FALSE;
}
