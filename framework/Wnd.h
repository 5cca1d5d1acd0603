// CWnd: a window object over a window handle. It does not own the window: the dialog
// manager creates and destroys the windows, and CWnd only names one and dispatches its
// messages through the class's message map.
#pragma once
#include <windows.h>

#include "framework/MessageMap.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    // Centres the window on its owner, or on the work area of its monitor when it has no
    // visible owner, keeping it inside that work area.
    void CenterWindow();

    // The wait cursor while a long command runs; the calls nest, and the last EndWaitCursor
    // brings back the cursor that was shown before the first BeginWaitCursor.
    void BeginWaitCursor();
    void EndWaitCursor();

    // A draw request of an owner-drawn control that the class does not draw itself gets the
    // default processing.
    virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    HWND m_hWnd = nullptr;

protected:
    // Calls the handler that the message map holds for the message; false when none does.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// True while a BeginWaitCursor has not been ended.
bool AfxIsWaitCursorShown();
