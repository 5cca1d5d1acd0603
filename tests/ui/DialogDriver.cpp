#include "tests/ui/DialogDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "framework/Dialog.h"

namespace dialog_driver {

namespace {

std::atomic<DWORD> g_modalThread{0};

// Polling interval while waiting for a window or a state: short, and bounded by a deadline.
constexpr DWORD kPollMs = 10;

std::string ClassName(HWND window)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> VisibleDialogWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        g_modalThread.load(),
        [](HWND window, LPARAM found) -> BOOL {
            if (::IsWindowVisible(window) && ClassName(window) == "#32770")
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Ends whatever the modal thread still shows: message boxes first, then the dialog.
void ForceClose(HWND dialogWindow)
{
    for (HWND window : VisibleDialogWindows()) {
        if (window == dialogWindow)
            continue;
        PressButton(window, IDNO);
        PressButton(window, IDOK);
    }
    if (::IsWindow(dialogWindow))
        PostCommand(dialogWindow, IDOK);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > kDeadlineMs)
            return false;
        ::Sleep(kPollMs);
    }
}

HWND FindDialogWindow(HWND except)
{
    for (HWND window : VisibleDialogWindows()) {
        if (window != except)
            return window;
    }
    return nullptr;
}

HWND WaitForDialogWindow(HWND except)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDialogWindow(except)) != nullptr; });
    return found;
}

bool WaitForWindowGone(HWND window)
{
    return WaitUntil([&] { return !::IsWindow(window); });
}

INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND dialogWindow)>& drive)
{
    g_modalThread = ::GetCurrentThreadId();
    std::atomic<bool> modalDone{false};
    std::thread driver([&] {
        const HWND dialogWindow = WaitForDialogWindow();
        if (dialogWindow)
            drive(dialogWindow);
        else
            ADD_FAILURE() << "the dialog did not appear";
        if (WaitUntil([&] { return modalDone.load(); }))
            return;
        ADD_FAILURE() << "the dialog was still open when the test had finished with it";
        while (!modalDone.load()) {
            ForceClose(dialogWindow);
            ::Sleep(100);
        }
    });
    const INT_PTR result = dialog.DoModal();
    modalDone = true;
    driver.join();
    return result;
}

void PostCommand(HWND dialogWindow, int id, int code)
{
    ::PostMessageA(dialogWindow, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(dialogWindow, id)));
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box)
{
    // The box's text is its one static control that is not the icon.
    std::string text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == "Static" && !WindowText(child).empty())
            text = WindowText(child);
    }
    return text;
}

void PressButton(HWND box, int id)
{
    if (HasButton(box, id))
        PostCommand(box, id);
}

bool HasButton(HWND box, int id)
{
    const HWND button = ::GetDlgItem(box, id);
    return button && ::IsWindowVisible(button);
}

std::vector<ListRow> ListRows(HWND listBox)
{
    std::vector<ListRow> rows;
    const LRESULT count = ::SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(::SendMessageA(listBox, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        const LRESULT length = ::SendMessageA(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        rows.push_back({text, ::SendMessageA(listBox, LB_GETITEMDATA, i, 0)});
    }
    return rows;
}

void SelectRows(HWND dialogWindow, int listId, const std::vector<int>& rows)
{
    const HWND list = ::GetDlgItem(dialogWindow, listId);
    ::SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (int row : rows)
        ::SendMessageA(list, LB_SETSEL, TRUE, row);
    // Sent, not posted: when this returns the dialog has handled the change.
    ::SendMessageA(dialogWindow, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

}  // namespace dialog_driver
