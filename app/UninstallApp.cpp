#include "app/UninstallApp.h"

#include <commctrl.h>

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

    // Never a message loop: everything happens in the modal dialog.
    return FALSE;
}
