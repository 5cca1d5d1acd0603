// CDialog: a modal dialog from a template of the program's resources, with data exchange
// between the dialog object and its controls.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/Wnd.h"

class CDialog;

// One data exchange: which way it goes, and the dialog whose controls take part.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CDialog* m_pDlgWnd;
};

// Binds the dialog's control nIDC to the window object on the first exchange; later
// exchanges leave the binding as it is. The binding ends when the dialog window goes.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog from the template, runs it modally through the dialog manager and
    // returns the code given to EndDialog; -1 when the dialog cannot be created.
    virtual INT_PTR DoModal();

    // Called once the window and its controls exist; the first data exchange fills the
    // controls. TRUE lets the dialog manager give the focus to the first tab stop.
    virtual BOOL OnInitDialog();

    // Runs DoDataExchange in the given direction.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void EndDialog(int nResult);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    // The Close/OK command: saves the controls' data and ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

private:
    friend void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void DetachWindows();

    std::vector<CWnd*> m_boundControls;  // by DDX_Control, for the life of the window
    bool m_centreWhenOpened = false;

    DECLARE_MESSAGE_MAP()
};
