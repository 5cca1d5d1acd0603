#include "framework/Wnd.h"

#include <algorithm>

namespace {
int g_waitCursorCount = 0;
HCURSOR g_cursorBeforeWait = nullptr;

HCURSOR WaitCursor()
{
    return ::LoadCursorA(nullptr, IDC_WAIT);
}
}  // namespace

AfxMessageHandler AfxFindMessageHandler(const AFX_MSGMAP* map, UINT message, WPARAM wParam)
{
    for (; map; map = map->baseMap) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->handler; ++entry) {
            if (entry->message != message)
                continue;
            if (message != WM_COMMAND || (entry->code == HIWORD(wParam) && entry->id == LOWORD(wParam)))
                return entry->handler;
        }
    }
    return nullptr;
}

CWnd::~CWnd() = default;

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The mouse moving over the window would otherwise put the arrow back during a long
    // command that lets messages through.
    if (message == WM_SETCURSOR && AfxIsWaitCursorShown()) {
        ::SetCursor(WaitCursor());
        *pResult = TRUE;
        return true;
    }
    const AfxMessageHandler handler = AfxFindMessageHandler(GetMessageMap(), message, wParam);
    if (!handler)
        return false;
    *pResult = handler(this, wParam, lParam);
    return true;
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    ::DefWindowProcA(m_hWnd, WM_DRAWITEM, static_cast<WPARAM>(nIDCtl), reinterpret_cast<LPARAM>(lpDrawItemStruct));
}

void CWnd::CenterWindow()
{
    RECT window;
    if (!::GetWindowRect(m_hWnd, &window))
        return;
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT around = area;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &around);

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = around.left + ((around.right - around.left) - width) / 2;
    int y = around.top + ((around.bottom - around.top) - height) / 2;
    x = std::max<int>(area.left, std::min<int>(x, area.right - width));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::BeginWaitCursor()
{
    const HCURSOR previous = ::SetCursor(WaitCursor());
    if (g_waitCursorCount++ == 0)
        g_cursorBeforeWait = previous;
}

void CWnd::EndWaitCursor()
{
    if (g_waitCursorCount == 0)
        return;
    if (--g_waitCursorCount == 0)
        ::SetCursor(g_cursorBeforeWait);
}

bool AfxIsWaitCursorShown()
{
    return g_waitCursorCount > 0;
}
