#include "framework/Dialog.h"

#include <cstring>

#include "framework/WinApp.h"

namespace {

// Position and style of a dialog template, plain or extended.
struct TemplateFrame {
    DWORD style;
    short x;
    short y;
};

TemplateFrame ReadTemplateFrame(const void* dialogTemplate)
{
    const BYTE* bytes = static_cast<const BYTE*>(dialogTemplate);
    WORD version = 0;
    WORD signature = 0;
    std::memcpy(&version, bytes, sizeof version);
    std::memcpy(&signature, bytes + 2, sizeof signature);
    // Extended: version, signature, help id, extended style, style, item count, x, y.
    // Plain: style, extended style, item count, x, y.
    const bool extended = version == 1 && signature == 0xFFFF;
    TemplateFrame frame = {};
    std::memcpy(&frame.style, bytes + (extended ? 12 : 0), sizeof frame.style);
    std::memcpy(&frame.x, bytes + (extended ? 18 : 10), sizeof frame.x);
    std::memcpy(&frame.y, bytes + (extended ? 20 : 12), sizeof frame.y);
    return frame;
}

// A dialog that its template leaves at 0,0 without asking for any placement is centred.
bool IsCentredWhenOpened(const TemplateFrame& frame)
{
    const DWORD placement = DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN | WS_CHILD;
    return frame.x == 0 && frame.y == 0 && !(frame.style & placement);
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    CDialog* dialog = pDX->m_pDlgWnd;
    rControl.m_hWnd = ::GetDlgItem(dialog->m_hWnd, nIDC);
    if (rControl.m_hWnd)
        dialog->m_boundControls.push_back(&rControl);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_BN_CLICKED(IDOK, OnOK)
    ON_BN_CLICKED(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CDialog::DoModal()
{
    const HINSTANCE module = AfxGetResourceHandle();
    const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
    if (!found)
        return -1;
    // A loaded resource lives as long as its module; nothing is freed here.
    const void* dialogTemplate = ::LockResource(::LoadResource(module, found));
    if (!dialogTemplate)
        return -1;
    m_centreWhenOpened = IsCentredWhenOpened(ReadTemplateFrame(dialogTemplate));

    const HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return ::DialogBoxIndirectParamA(module, static_cast<LPCDLGTEMPLATEA>(dialogTemplate), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // The dialog object comes with the first message that it handles and stays with
        // the window until the window goes.
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = hwnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        if (dialog->m_centreWhenOpened)
            dialog->CenterWindow();
        return dialog->OnInitDialog();
    }

    CDialog* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!dialog)
        return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->DetachWindows();
        return FALSE;
    }
    LRESULT result = 0;
    if (!dialog->OnWndMsg(message, wParam, lParam, &result))
        return FALSE;
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void CDialog::DetachWindows()
{
    for (CWnd* control : m_boundControls)
        control->m_hWnd = nullptr;
    m_boundControls.clear();
    m_hWnd = nullptr;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange exchange(this, bSaveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
