// Drives the real uninstaller from outside, through the window system only: starts the
// program, finds its dialog and message boxes by caption, reads the list rows and presses
// buttons with posted messages (a sent click that opens a modal box would block the driver).
// Every wait polls against a deadline. Shared by the end-to-end tests, the benchmark and the
// screenshot tool, so it reports failures through results instead of asserting.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/UniqueHandle.h"

namespace testing_support {

constexpr DWORD kWindowTimeoutMs = 15000;

// Polls the condition until it holds or timeoutMs have passed; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWindowTimeoutMs);

// The caption of the dialog in each language, and of every message box.
extern const char kEnglishCaption[];
extern const char kGermanCaption[];
extern const char kMessageCaption[];

// A window's text as ANSI (code page of the process), read with the wide-character call so
// that it arrives whole across processes.
std::string WindowText(HWND window);

// A visible top-level window of the given process (any process for 0) with that caption.
HWND FindVisibleWindow(DWORD processId, const std::string& caption);

// A running uninstaller process. Killed when the object goes while it still runs, so that a
// failed test leaves nothing behind.
class UninstallerProcess {
public:
    UninstallerProcess() = default;
    ~UninstallerProcess();
    UninstallerProcess(const UninstallerProcess&) = delete;
    UninstallerProcess& operator=(const UninstallerProcess&) = delete;

    // Starts the program with an empty command tail in its own directory, as the shell does.
    // A non-empty temporary directory replaces TEMP and TMP for it (and what it starts).
    bool Start(const std::string& program, const std::string& temporaryDirectory = "");
    // Starts any command line (for programs that start the uninstaller themselves).
    bool StartCommand(const std::string& commandLine, const std::string& temporaryDirectory = "");
    // Takes over a process that something else started.
    bool Attach(DWORD processId);

    DWORD Id() const { return m_processId; }
    bool IsRunning() const;
    bool WaitForExit(DWORD timeoutMs = kWindowTimeoutMs) const;
    void Kill();

private:
    bool Launch(const char* program, std::string commandLine, const std::string& directory,
                const std::string& temporaryDirectory);

    KernelHandle m_process;
    DWORD m_processId = 0;
};

// A message box of the uninstaller: caption, text and buttons.
class MessageBoxWindow {
public:
    explicit MessageBoxWindow(HWND window = nullptr) : m_window(window) {}
    HWND Handle() const { return m_window; }
    explicit operator bool() const { return m_window != nullptr; }

    std::string Caption() const { return WindowText(m_window); }
    std::string Text() const;
    bool HasButton(int id) const;
    // Presses the button with the given id (IDYES, IDNO, IDOK).
    bool Press(int id) const;
    bool WaitUntilGone(DWORD timeoutMs = kWindowTimeoutMs) const;

private:
    HWND m_window;
};

// Waits for a message box (caption "Korvane") shown by the given process.
MessageBoxWindow WaitForMessageBox(DWORD processId, DWORD timeoutMs = kWindowTimeoutMs);
// The message box that the given process shows right now, if any.
MessageBoxWindow FindMessageBox(DWORD processId);

// The four ways a user closes the dialog.
enum class CloseWay { CloseButton, EscapeKey, TitleBarClose, SystemMenuClose };
const char* CloseWayName(CloseWay way);

// The main dialog of a running uninstaller.
class UninstallerDialog {
public:
    explicit UninstallerDialog(HWND window = nullptr) : m_window(window) {}
    HWND Handle() const { return m_window; }
    explicit operator bool() const { return m_window != nullptr; }

    std::string Caption() const { return WindowText(m_window); }
    HWND Control(int id) const { return ::GetDlgItem(m_window, id); }
    std::string ControlText(int id) const { return WindowText(Control(id)); }

    std::vector<std::string> Rows() const;
    int RowCount() const;
    LRESULT RowData(int row) const;
    bool IsRowSelected(int row) const;
    // Changes the selection as a user's click does: the list box changes, then the dialog
    // hears LBN_SELCHANGE.
    void SelectRow(int row, bool selected = true) const;
    void SelectAllRows() const;
    bool IsRemoveEnabled() const;

    // Presses Remove; the confirmation box follows.
    void PressRemove() const;
    void Close(CloseWay way) const;

private:
    HWND m_window;
};

// Waits until the process shows the dialog with that caption (any process for 0).
UninstallerDialog WaitForDialog(DWORD processId, const std::string& caption, DWORD timeoutMs = kWindowTimeoutMs);
// The same for a process of ours; gives up as soon as the process has ended.
UninstallerDialog WaitForDialog(const UninstallerProcess& process, const std::string& caption,
                                DWORD timeoutMs = kWindowTimeoutMs);

// Selects the rows (by text), presses Remove and answers the confirmation with Yes and the
// completion notice with OK. Returns an empty text when every step was seen, else what failed.
std::string RemoveRowsThroughDialog(const UninstallerDialog& dialog, DWORD processId, const std::vector<int>& rows);

}  // namespace testing_support
