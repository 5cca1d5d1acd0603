#include "tests/support/UninstallerDriver.h"

#include "res/resource.h"

namespace testing_support {

const char kEnglishCaption[] = "Korvane Uninstall";
const char kGermanCaption[] = "Korvane Entfernen";
const char kMessageCaption[] = "Korvane";

namespace {

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr UINT kSendTimeoutMs = 5000;

std::string ToAnsi(const std::wstring& wide)
{
    if (wide.empty())
        return "";
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], size, nullptr, nullptr);
    return text;
}

// The caption as the window manager keeps it: no message is sent, so a busy process cannot
// stall the search.
std::string StoredCaption(HWND window)
{
    wchar_t buffer[512] = L"";
    ::GetWindowTextW(window, buffer, 512);
    return ToAnsi(buffer);
}

std::string ClassName(HWND window)
{
    char buffer[64] = "";
    ::GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

struct WindowSearch {
    DWORD processId;
    std::string caption;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (!::IsWindowVisible(window))
        return TRUE;
    if (search.processId && ProcessOf(window) != search.processId)
        return TRUE;
    if (search.className && ClassName(window) != search.className)
        return TRUE;
    if (StoredCaption(window) != search.caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, const std::string& caption, const char* className)
{
    WindowSearch search{processId, caption, className, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM parameter)
{
    std::string& longest = *reinterpret_cast<std::string*>(parameter);
    if (ClassName(child) == "Static") {
        const std::string text = WindowText(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return TRUE;
}

// The environment of this process with TEMP and TMP pointing at the given directory.
std::string EnvironmentWithTemporaryDirectory(const std::string& directory)
{
    std::string block;
    char* strings = ::GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += lstrlenA(entry) + 1) {
        if (!_strnicmp(entry, "TEMP=", 5) || !_strnicmp(entry, "TMP=", 4))
            continue;
        block += entry;
        block += '\0';
    }
    ::FreeEnvironmentStringsA(strings);
    block += "TEMP=" + directory + '\0';
    block += "TMP=" + directory + '\0';
    block += '\0';
    return block;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= deadline)
            return false;
        ::Sleep(5);
    }
}

std::string WindowText(HWND window)
{
    if (!window)
        return "";
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return "";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                               kSendTimeoutMs, &copied))
        return "";
    text.resize(copied);
    return ToAnsi(text);
}

HWND FindVisibleWindow(DWORD processId, const std::string& caption)
{
    return FindWindowOf(processId, caption, nullptr);
}

// --- UninstallerProcess ---------------------------------------------------------------

UninstallerProcess::~UninstallerProcess()
{
    Kill();
}

bool UninstallerProcess::Start(const std::string& program, const std::string& temporaryDirectory)
{
    const size_t cut = program.find_last_of('\\');
    const std::string directory = cut == std::string::npos ? std::string() : program.substr(0, cut);
    return Launch(program.c_str(), "\"" + program + "\"", directory, temporaryDirectory);
}

bool UninstallerProcess::StartCommand(const std::string& commandLine, const std::string& temporaryDirectory)
{
    return Launch(nullptr, commandLine, "", temporaryDirectory);
}

bool UninstallerProcess::Launch(const char* program, std::string commandLine, const std::string& directory,
                                const std::string& temporaryDirectory)
{
    std::string environment = temporaryDirectory.empty() ? std::string()
                                                         : EnvironmentWithTemporaryDirectory(temporaryDirectory);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0,
                          environment.empty() ? nullptr : &environment[0],
                          directory.empty() ? nullptr : directory.c_str(), &startup, &started))
        return false;
    ::CloseHandle(started.hThread);
    m_process.Reset(started.hProcess);
    m_processId = started.dwProcessId;
    return true;
}

bool UninstallerProcess::Attach(DWORD processId)
{
    m_process.Reset(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                  processId));
    m_processId = m_process ? processId : 0;
    return m_process.IsValid();
}

bool UninstallerProcess::IsRunning() const
{
    return m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

bool UninstallerProcess::WaitForExit(DWORD timeoutMs) const
{
    return m_process && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

void UninstallerProcess::Kill()
{
    if (IsRunning()) {
        ::TerminateProcess(m_process.Get(), 1);
        ::WaitForSingleObject(m_process.Get(), kWindowTimeoutMs);
    }
}

// --- Message boxes --------------------------------------------------------------------

std::string MessageBoxWindow::Text() const
{
    const HWND text = ::GetDlgItem(m_window, kMessageBoxTextId);
    if (text)
        return WindowText(text);
    std::string longest;
    ::EnumChildWindows(m_window, CollectStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

bool MessageBoxWindow::HasButton(int id) const
{
    const HWND button = ::GetDlgItem(m_window, id);
    return button && ::IsWindowVisible(button);
}

bool MessageBoxWindow::Press(int id) const
{
    const HWND button = ::GetDlgItem(m_window, id);
    if (!button)
        return false;
    return ::PostMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

bool MessageBoxWindow::WaitUntilGone(DWORD timeoutMs) const
{
    const HWND window = m_window;
    return WaitUntil([window] { return !::IsWindow(window); }, timeoutMs);
}

MessageBoxWindow FindMessageBox(DWORD processId)
{
    return MessageBoxWindow(FindWindowOf(processId, kMessageCaption, "#32770"));
}

MessageBoxWindow WaitForMessageBox(DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindMessageBox(processId).Handle()) != nullptr; }, timeoutMs);
    return MessageBoxWindow(found);
}

// --- The dialog -----------------------------------------------------------------------

const char* CloseWayName(CloseWay way)
{
    switch (way) {
    case CloseWay::CloseButton:
        return "Close button";
    case CloseWay::EscapeKey:
        return "Esc key";
    case CloseWay::TitleBarClose:
        return "title-bar close (WM_CLOSE)";
    case CloseWay::SystemMenuClose:
        return "system menu Close (SC_CLOSE)";
    }
    return "?";
}

int UninstallerDialog::RowCount() const
{
    return static_cast<int>(::SendMessageW(Control(IDC_APP_LIST), LB_GETCOUNT, 0, 0));
}

std::vector<std::string> UninstallerDialog::Rows() const
{
    const HWND list = Control(IDC_APP_LIST);
    std::vector<std::string> rows;
    const int count = RowCount();
    for (int row = 0; row < count; ++row) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, row, 0);
        std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        const LRESULT copied = ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        rows.push_back(ToAnsi(text));
    }
    return rows;
}

LRESULT UninstallerDialog::RowData(int row) const
{
    return ::SendMessageW(Control(IDC_APP_LIST), LB_GETITEMDATA, row, 0);
}

bool UninstallerDialog::IsRowSelected(int row) const
{
    return ::SendMessageW(Control(IDC_APP_LIST), LB_GETSEL, row, 0) > 0;
}

void UninstallerDialog::SelectRow(int row, bool selected) const
{
    const HWND list = Control(IDC_APP_LIST);
    ::SendMessageW(list, LB_SETSEL, selected, row);
    ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(IDC_APP_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void UninstallerDialog::SelectAllRows() const
{
    SelectRow(-1, true);
}

bool UninstallerDialog::IsRemoveEnabled() const
{
    return ::IsWindowEnabled(Control(IDC_REMOVE)) != FALSE;
}

void UninstallerDialog::PressRemove() const
{
    ::PostMessageW(Control(IDC_REMOVE), BM_CLICK, 0, 0);
}

void UninstallerDialog::Close(CloseWay way) const
{
    switch (way) {
    case CloseWay::CloseButton:
        ::PostMessageW(Control(IDOK), BM_CLICK, 0, 0);
        break;
    case CloseWay::EscapeKey: {
        // Keys go to the control with the focus; the dialog manager turns Esc into IDCANCEL.
        const HWND list = Control(IDC_APP_LIST);
        ::PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessageW(list, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        break;
    }
    case CloseWay::TitleBarClose:
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        break;
    case CloseWay::SystemMenuClose:
        ::PostMessageW(m_window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

UninstallerDialog WaitForDialog(DWORD processId, const std::string& caption, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(processId, caption, "#32770")) != nullptr; }, timeoutMs);
    return UninstallerDialog(found);
}

UninstallerDialog WaitForDialog(const UninstallerProcess& process, const std::string& caption, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowOf(process.Id(), caption, "#32770");
            return found != nullptr || !process.IsRunning();
        },
        timeoutMs);
    return UninstallerDialog(found);
}

std::string RemoveRowsThroughDialog(const UninstallerDialog& dialog, DWORD processId, const std::vector<int>& rows)
{
    for (int row : rows)
        dialog.SelectRow(row);
    if (!WaitUntil([&] { return dialog.IsRemoveEnabled(); }))
        return "Remove never became enabled";
    dialog.PressRemove();
    const MessageBoxWindow confirmation = WaitForMessageBox(processId);
    if (!confirmation)
        return "no confirmation box";
    if (!confirmation.Press(IDYES))
        return "the confirmation box has no Yes button";
    if (!confirmation.WaitUntilGone())
        return "the confirmation box stayed";
    const MessageBoxWindow completion = WaitForMessageBox(processId);
    if (!completion)
        return "no completion notice";
    if (!completion.Press(IDOK))
        return "the completion notice has no OK button";
    if (!completion.WaitUntilGone())
        return "the completion notice stayed";
    return "";
}

}  // namespace testing_support
