// The confirmation and completion boxes on the real desktop: a second thread finds the box,
// reads what it shows and presses a button, and the test checks what the call returned.
#include "app/UninstallApp.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

// The static control of a message box that holds its text.
constexpr int kMessageTextId = 0xFFFF;
constexpr auto kDeadline = std::chrono::seconds(20);

struct SeenBox {
    bool found = false;
    std::string caption;
    std::string text;
    std::wstring wideText;
    std::vector<int> buttons;
    HWND owner = nullptr;
};

HWND FindVisibleDialogOf(DWORD threadId)
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM param) -> BOOL {
            char className[32] = "";
            ::GetClassNameA(window, className, sizeof className);
            if (std::string(className) == "#32770" && ::IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string WindowText(HWND window)
{
    char buffer[512] = "";
    ::GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// Waits for the box on the given thread, records it and presses `press`. When that button
// is missing it presses whatever the box has, so that the modal call always returns.
void AnswerBox(DWORD threadId, int press, SeenBox* seen)
{
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    HWND box = nullptr;
    while (!(box = FindVisibleDialogOf(threadId)) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!box)
        return;
    seen->found = true;
    seen->caption = WindowText(box);
    HWND text = ::GetDlgItem(box, kMessageTextId);
    seen->text = WindowText(text);
    wchar_t wide[512] = L"";
    ::GetWindowTextW(text, wide, 512);
    seen->wideText = wide;
    seen->owner = ::GetWindow(box, GW_OWNER);
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        HWND button = ::GetDlgItem(box, id);
        if (button && ::IsWindowVisible(button))
            seen->buttons.push_back(id);
    }
    HWND button = ::GetDlgItem(box, press);
    if (!button || !::IsWindowVisible(button)) {
        press = seen->buttons.empty() ? IDCANCEL : seen->buttons.front();
        button = ::GetDlgItem(box, press);
    }
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

CUninstallApp& App()
{
    return theApp;
}

struct BoxCase {
    const char* name;
    int language;
    UINT prompt;
    UINT type;
    UINT helpId;
    const char* text;
    const wchar_t* wideText;
    std::vector<int> buttons;
    int press;
};

const char kConfirmEn[] = "Are you sure that you want to remove the selected applications?";
const char kDoneEn[] = "The programs have been successfully removed from your computer.";
const char kConfirmDe[] =
    "Sind Sie sicher, dass Sie die gew\xE4hlten Programme von Ihrem Computer entfernen m\xF6""chten?";
const wchar_t kConfirmDeWide[] =
    L"Sind Sie sicher, dass Sie die gew\u00E4hlten Programme von Ihrem Computer entfernen m\u00F6""chten?";
const char kDoneDe[] = "Die Programme wurden erfoglreich von Ihrem Computer entfernt.";
const char kInUseEn[] = "Some files could not be removed because they are in use. Close all Korvane applications "
                        "and press 'Remove' again.";
const wchar_t kInUseEnWide[] = L"Some files could not be removed because they are in use. Close all Korvane "
                               L"applications and press 'Remove' again.";
const char kInUseDe[] = "Einige Dateien konnten nicht entfernt werden, weil sie gerade verwendet werden. Schlie\xDF"
                        "en Sie alle Korvane Anwendungen und bet\xE4tigen Sie erneut 'Entfernen'.";
const wchar_t kInUseDeWide[] = L"Einige Dateien konnten nicht entfernt werden, weil sie gerade verwendet werden. "
                               L"Schlie\u00DF" L"en Sie alle Korvane Anwendungen und bet\u00E4tigen Sie erneut "
                               L"'Entfernen'.";

const BoxCase kBoxCases[] = {
    {"English confirmation, Yes", 0, IDS_CONFIRM_REMOVE, MB_YESNO, static_cast<UINT>(-1), kConfirmEn,
     L"Are you sure that you want to remove the selected applications?", {IDYES, IDNO}, IDYES},
    {"English confirmation, No", 0, IDS_CONFIRM_REMOVE, MB_YESNO, static_cast<UINT>(-1), kConfirmEn,
     L"Are you sure that you want to remove the selected applications?", {IDYES, IDNO}, IDNO},
    {"English completion", 0, IDS_REMOVE_DONE, MB_OK, static_cast<UINT>(-1), kDoneEn,
     L"The programs have been successfully removed from your computer.", {IDOK}, IDOK},
    {"German confirmation, No", 1, IDS_CONFIRM_REMOVE, MB_YESNO, static_cast<UINT>(-1), kConfirmDe,
     kConfirmDeWide, {IDYES, IDNO}, IDNO},
    {"German confirmation, Yes, other help id", 1, IDS_CONFIRM_REMOVE, MB_YESNO, 0, kConfirmDe,
     kConfirmDeWide, {IDYES, IDNO}, IDYES},
    {"German completion", 1, IDS_REMOVE_DONE, MB_OK, static_cast<UINT>(-1), kDoneDe,
     L"Die Programme wurden erfoglreich von Ihrem Computer entfernt.", {IDOK}, IDOK},
    {"English notice of files in use", 0, IDS_FILES_IN_USE, MB_OK, static_cast<UINT>(-1), kInUseEn, kInUseEnWide,
     {IDOK}, IDOK},
    {"German notice of files in use", 1, IDS_FILES_IN_USE, MB_OK, static_cast<UINT>(-1), kInUseDe, kInUseDeWide,
     {IDOK}, IDOK},
    {"type passed on unchanged", 0, IDS_REMOVE_DONE, MB_OKCANCEL, static_cast<UINT>(-1), kDoneEn,
     L"The programs have been successfully removed from your computer.", {IDOK, IDCANCEL}, IDCANCEL},
};

TEST(LocalizedMessageBox, ShowsTheTextOfTheLanguageAndReturnsThePressedButton)
{
    const int savedLanguage = App().m_nLanguage;
    for (const BoxCase& c : kBoxCases) {
        SCOPED_TRACE(c.name);
        App().m_nLanguage = c.language;
        SeenBox seen;
        std::thread answer(AnswerBox, ::GetCurrentThreadId(), c.press, &seen);
        const int result = App().LocalizedMessageBox(c.prompt, c.type, c.helpId);
        answer.join();
        ASSERT_TRUE(seen.found) << "no message box appeared";
        EXPECT_EQ("Korvane", seen.caption);
        EXPECT_EQ(c.text, seen.text);
        EXPECT_EQ(std::wstring(c.wideText), seen.wideText);
        EXPECT_EQ(c.buttons, seen.buttons);
        EXPECT_EQ(nullptr, seen.owner);
        EXPECT_EQ(c.press, result);
    }
    App().m_nLanguage = savedLanguage;
}

TEST(LocalizedMessageBox, BelongsToTheOwnerWindowWhenOneIsGiven)
{
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    SeenBox seen;
    std::thread answer(AnswerBox, ::GetCurrentThreadId(), IDOK, &seen);
    const int result = App().LocalizedMessageBox(IDS_REMOVE_DONE, MB_OK, static_cast<UINT>(-1), owner);
    answer.join();
    ::DestroyWindow(owner);
    ASSERT_TRUE(seen.found) << "no message box appeared";
    EXPECT_EQ(owner, seen.owner);
    EXPECT_EQ(kDoneEn, seen.text);
    EXPECT_EQ(IDOK, result);
}

}  // namespace
