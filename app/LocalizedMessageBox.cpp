#include "app/UninstallApp.h"

#include "res/resource.h"

namespace {
// The German text of a message lies this far above the English one.
constexpr UINT kLanguageIdStep = 1000;
}

int CUninstallApp::LocalizedMessageBox(UINT nIDPrompt, UINT nType, UINT /*nIDHelp*/, HWND owner)
{
    CString text;
    text.LoadString(nIDPrompt + kLanguageIdStep * static_cast<UINT>(m_nLanguage));
    CString caption;
    caption.LoadString(IDS_MESSAGE_CAPTION);
    // The type goes on as the caller gave it: no icon, default button or modality is added.
    return ::MessageBoxA(owner, text, caption, nType);
}
