#include "ui/UninstallDlg.h"

#include "framework/WinApp.h"
#include "registry/Catalogue.h"
#include "res/resource.h"

namespace {
// The product icon is drawn and used as the window icon at this size, in pixels.
constexpr int kIconSize = 48;
// Where the directory column begins, in dialog template units from the rows' left edge.
constexpr int kDirectoryTabStop = 160;
}  // namespace

CUninstallDlg::CUninstallDlg(const CString& productKey, int nLanguage, CWnd* pParent)
    : CDialog(nLanguage == 1 ? IDD_UNINSTALL_DE : IDD_UNINSTALL, pParent), m_productKey(productKey)
{
}

CUninstallDlg::~CUninstallDlg() = default;

// IDCANCEL (Esc, the close box, the system menu's Close) goes to the closing hand-over too;
// IDOK reaches it through the CDialog map.
BEGIN_MESSAGE_MAP(CUninstallDlg, CDialog)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_LBN_SELCHANGE(IDC_APP_LIST, OnSelChangeAppList)
    ON_BN_CLICKED(IDCANCEL, OnOK)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

BOOL CUninstallDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // Without an icon resource the handle stays null; the window then has no icon and the
    // button draws nothing.
    m_hIcon.Reset(static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_UNINSTALL),
                                                  IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)));
    m_iconButton.SetWindowPos(nullptr, 0, 0, kIconSize, kIconSize, SWP_NOMOVE | SWP_NOZORDER);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.Get()));

    for (int i = catalogue::kFirstListedEntry; i <= catalogue::kLastListedEntry; ++i) {
        const CString entryKey = catalogue::EntryKey(m_productKey, i);
        // "AppName" is not read when "Directory" fails.
        CString directory, appName;
        if (!catalogue::ReadValue(entryKey, catalogue::kDirectoryValue, directory) ||
            !catalogue::ReadValue(entryKey, catalogue::kAppNameValue, appName))
            continue;
        CString row;
        row.Format("%s\t%s", appName.GetString(), directory.GetString());
        // The list sorts its rows, so the item data is the only link from a row to its entry.
        const int index = m_appList.AddString(row);
        m_appList.SetItemData(index, static_cast<DWORD_PTR>(i));
    }

    const int tabStop = kDirectoryTabStop;
    m_appList.SetTabStops(1, &tabStop);
    return TRUE;
}

void CUninstallDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PRODUCT_ICON, m_iconButton);
    DDX_Control(pDX, IDC_REMOVE, m_removeButton);
    DDX_Control(pDX, IDC_APP_LIST, m_appList);
    // Remove is offered exactly while a row is selected; LB_ERR counts as none.
    if (!pDX->m_bSaveAndValidate)
        m_removeButton.EnableWindow(m_appList.GetSelCount() > 0);
}

void CUninstallDlg::OnSelChangeAppList()
{
    UpdateData(FALSE);
}

void CUninstallDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (nIDCtl != IDC_PRODUCT_ICON) {
        CWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
        return;
    }
    // The colour image alone, without the mask: every image of the icon has an all-zero mask,
    // so this is the same picture that the caption and the taskbar draw through the mask.
    ::DrawIconEx(lpDrawItemStruct->hDC, lpDrawItemStruct->rcItem.left, lpDrawItemStruct->rcItem.top,
                 m_hIcon.Get(), kIconSize, kIconSize, 0, nullptr, DI_IMAGE);
}
