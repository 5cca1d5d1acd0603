// Drives a modal dialog of this process through the window system, as a user would: the
// test's thread runs DoModal, a second thread finds the windows it opens, presses buttons
// with PostMessage and answers message boxes. Every wait has a deadline.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CDialog;

namespace dialog_driver {

// How long any one window or state is waited for before the test fails.
constexpr DWORD kDeadlineMs = 10000;

// Runs dialog.DoModal() on this thread while drive(dialog window) runs on another. If the
// dialog is still open when drive returns (a failed test), it is closed by force so that
// the test ends; the forced close is reported as a failure. Returns DoModal's result.
INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND dialogWindow)>& drive);

// The visible dialog-class window of the modal thread other than `except`, or null when
// none appears before the deadline.
HWND WaitForDialogWindow(HWND except = nullptr);
// The same, looked for once, without waiting.
HWND FindDialogWindow(HWND except = nullptr);
// Waits until the window is gone; false at the deadline.
bool WaitForWindowGone(HWND window);
// Waits until the condition holds; false at the deadline.
bool WaitUntil(const std::function<bool()>& condition);

// A command as a control sends it, posted so that a handler that opens a modal box does not
// block the driver.
void PostCommand(HWND dialogWindow, int id, int code = BN_CLICKED);

// A message box's text (its static control) and caption.
std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
// Presses a message box button (IDYES, IDNO, IDOK).
void PressButton(HWND box, int id);
// Whether the box shows a button with that id.
bool HasButton(HWND box, int id);

// Rows of a list box, in their order, and each row's item data.
struct ListRow {
    std::string text;
    LRESULT data;
    bool operator==(const ListRow& other) const { return text == other.text && data == other.data; }
};
std::vector<ListRow> ListRows(HWND listBox);
// Selects exactly the given rows and tells the dialog, as a click in the list would; the
// dialog has handled the notice when this returns.
void SelectRows(HWND dialogWindow, int listId, const std::vector<int>& rows);

}  // namespace dialog_driver
