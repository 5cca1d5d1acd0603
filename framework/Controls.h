// The control wrappers: a window handle and one-line methods, each a single message, for
// what the program asks of its controls.
#pragma once
#include <windows.h>

#include "framework/Wnd.h"

// A push or owner-drawn button; everything it needs comes from CWnd.
class CButton : public CWnd {
};

class CListBox : public CWnd {
public:
    int GetCount() { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    // Positive for a selected row, 0 for one that is not, LB_ERR for no such row.
    int GetSel(int nIndex) { return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(nIndex))); }
    // LB_ERR for a list box without multiple selection.
    int GetSelCount() { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
    DWORD_PTR GetItemData(int nIndex) { return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(nIndex))); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
    }
    // The index at which the row landed (the list may sort), or LB_ERR / LB_ERRSPACE.
    int AddString(const char* lpszItem) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem))); }
    // The number of rows left, or LB_ERR.
    int DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
    // Tab stops in dialog template units; a single value sets a stop every that many units.
    BOOL SetTabStops(int nTabStops, const int* rgTabStops)
    {
        return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, static_cast<WPARAM>(nTabStops), reinterpret_cast<LPARAM>(rgTabStops)));
    }
};
