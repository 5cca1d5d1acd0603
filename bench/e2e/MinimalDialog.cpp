// The smallest dialog program that shows what the uninstaller's start-up shows: a modal
// dialog from an in-memory template with a sorted list box of 50 rows, filled in
// WM_INITDIALOG. No registry, no resources, no framework: the baseline for start-up time.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

constexpr int kListId = 1001;
constexpr int kRows = 50;

// A template with one list box, laid out in memory as the dialog manager reads it.
struct Template {
    DLGTEMPLATE dialog;
    WORD menu, windowClass;
    wchar_t caption[15];
    WORD pointSize;
    wchar_t font[14];
    alignas(4) DLGITEMTEMPLATE list;
    WORD listClass[2];
    WORD listText, listExtra;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        for (int i = 0; i < kRows; ++i) {
            char row[64];
            std::snprintf(row, sizeof row, "Application %d\tC:\\Programs\\Application %d", i, i);
            ::SendDlgItemMessageA(dialog, kListId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    ::InitCommonControls();
    static Template t = {};
    t.dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    t.dialog.cdit = 1;
    t.dialog.cx = 390;
    t.dialog.cy = 160;
    lstrcpyW(t.caption, L"Minimal Dialog");
    t.pointSize = 8;
    lstrcpyW(t.font, L"MS Sans Serif");
    t.list.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_USETABSTOPS |
                   LBS_EXTENDEDSEL;
    t.list.x = 7;
    t.list.y = 55;
    t.list.cx = 376;
    t.list.cy = 98;
    t.list.id = kListId;
    t.listClass[0] = 0xFFFF;
    t.listClass[1] = 0x0083;  // the predefined list box class
    return static_cast<int>(::DialogBoxIndirectParamW(instance, &t.dialog, nullptr, DialogProc, 0));
}
