// The closing hand-over against a test catalogue: "UninstallString", the product key, and
// the dialog's result, for every way of closing. Cases that need the running program to be
// a catalogued Uninstall.exe run the test in a copy of this program made one.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/support/TestEnvironment.h"
#include "tests/ui/CatalogueFixture.h"
#include "tests/ui/DialogDriver.h"
#include "ui/UninstallDlg.h"

using namespace dialog_driver;
using namespace dialog_tests;
using testing_support::KeyExists;
using testing_support::ScopedTestDirectory;
using testing_support::ScopedTestKey;

namespace {

std::string OwnPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string OwnDirectory()
{
    const std::string path = OwnPath();
    return path.substr(0, path.find_last_of('\\'));
}

bool RunningAsUninstallExe()
{
    const std::string path = OwnPath();
    return ::lstrcmpiA(path.substr(path.find_last_of('\\') + 1).c_str(), "Uninstall.exe") == 0;
}

// Copies this test program to directory\Uninstall.exe and runs the current test in it;
// returns its exit code (0 when the test passed there).
DWORD RunCurrentTestAsUninstaller(const std::string& directory)
{
    testing_support::MakeDirectories(directory);
    const std::string copy = directory + "\\Uninstall.exe";
    if (!::CopyFileA(OwnPath().c_str(), copy.c_str(), FALSE))
        return 1001;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string commandLine = "\"" + copy + "\" --gtest_filter=" + test->test_suite_name() + "." + test->name();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return 1002;
    KernelHandle processHandle(process.hProcess);
    KernelHandle threadHandle(process.hThread);
    DWORD exitCode = 1003;
    if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    else
        ::TerminateProcess(process.hProcess, 1004);
    return exitCode;
}

INT_PTR CloseWithButton(CUninstallDlg& dialog)
{
    return RunModal(dialog, [](HWND window) { PostCommand(window, IDOK); });
}

TEST(ClosingHandOver, EveryWayOfClosingRunsTheHandOver)
{
    // With nothing left, the hand-over deletes the product key and ends with IDOK; a plain
    // cancel would end with IDCANCEL and leave the key.
    struct Way {
        const char* name;
        void (*close)(HWND dialogWindow);
    } const ways[] = {
        {"Close button", [](HWND w) { PostCommand(w, IDOK); }},
        {"Esc key", [](HWND w) { ::PostMessageA(::GetFocus() ? ::GetFocus() : w, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"title-bar close box", [](HWND w) { ::PostMessageA(w, WM_CLOSE, 0, 0); }},
        {"system menu Close", [](HWND w) { ::PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ScopedTestKey product;
        testing_support::SetText(product.Path(), "Language", "E");
        CUninstallDlg dialog(product.Path().c_str());
        EXPECT_EQ(IDOK, RunModal(dialog, [&](HWND window) {
            // The Esc key goes to the control that has the focus, as typed.
            ::SetForegroundWindow(window);
            way.close(window);
        }));
        EXPECT_FALSE(KeyExists(product.Path()));
    }
}

TEST(ClosingHandOver, EntriesLeftElsewhereLetTheProgramDeleteItself)
{
    struct Case {
        const char* name;
        std::vector<int> withDirectory;
        const char* uninstallString;
    } const cases[] = {
        {"closing without removal rewrites UninstallString", {3}, "C:\\App3\\Uninstall.exe"},
        {"the highest entry wins", {3, 7}, "C:\\App7\\Uninstall.exe"},
        {"App49 is the last visited", {7, 49, 50}, "C:\\App49\\Uninstall.exe"},
        {"App0 alone keeps the catalogue", {0}, "C:\\App0\\Uninstall.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedTestKey product;
        testing_support::SetText(product.Path(), "UninstallString", "old");
        for (int i : c.withDirectory)
            AddEntry(product.Path(), i, nullptr, ("C:\\App" + std::to_string(i)).c_str());
        CUninstallDlg dialog(product.Path().c_str());
        EXPECT_EQ(IDOK, CloseWithButton(dialog)) << "the running program is no catalogued uninstaller";
        EXPECT_EQ(c.uninstallString, ReadText(product.Path(), "UninstallString"));
    }
}

TEST(ClosingHandOver, NothingLeftDeletesTheProductKey)
{
    ScopedTestKey product;
    testing_support::SetText(product.Path(), "UninstallString", "old");
    CUninstallDlg dialog(product.Path().c_str());
    EXPECT_EQ(IDOK, CloseWithButton(dialog));
    EXPECT_FALSE(KeyExists(product.Path()));
}

TEST(ClosingHandOver, EntriesWithoutDirectoryCountAsGone)
{
    // An entry without "Directory", or beyond App49, is not installed: nothing is left and
    // the program may delete itself. The product key is deleted with one delete, which the
    // registry refuses while such entry keys are still below it; the key then stays as it is.
    ScopedTestKey product;
    testing_support::SetText(product.Path(), "UninstallString", "old");
    AddEntry(product.Path(), 5, "NameOnly", nullptr);
    AddEntry(product.Path(), 50, "Fifty", "C:\\App50");
    CUninstallDlg dialog(product.Path().c_str());
    EXPECT_EQ(IDOK, CloseWithButton(dialog));
    EXPECT_EQ("old", ReadText(product.Path(), "UninstallString"));
}

TEST(ClosingHandOver, RunningUninstallerOfARemainingEntryKeepsItself)
{
    if (!RunningAsUninstallExe()) {
        ScopedTestDirectory folder;
        EXPECT_EQ(0u, RunCurrentTestAsUninstaller(folder / "App3"));
        return;
    }
    // From here on this is the copy, running as folder\App3\Uninstall.exe.
    const std::string own = OwnDirectory();
    std::string upper = own;
    ::CharUpperA(&upper[0]);
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> directories;
        INT_PTR result;
        std::string uninstallString;
    } const cases[] = {
        {"App3 is the running program, App7 remains", {{3, own}, {7, "C:\\App7"}}, IDCANCEL, "C:\\App7\\Uninstall.exe"},
        {"letter case does not matter", {{3, upper}}, IDCANCEL, upper + "\\Uninstall.exe"},
        {"a trailing backslash never matches", {{3, own + "\\"}}, IDOK, own + "\\\\Uninstall.exe"},
        {"App0 counts as installed", {{0, own}}, IDCANCEL, own + "\\Uninstall.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedTestKey product;
        for (const auto& [index, directory] : c.directories)
            AddEntry(product.Path(), index, nullptr, directory.c_str());
        CUninstallDlg dialog(product.Path().c_str());
        EXPECT_EQ(c.result, CloseWithButton(dialog));
        EXPECT_EQ(c.uninstallString, ReadText(product.Path(), "UninstallString"));
        EXPECT_TRUE(KeyExists(product.Path()));
    }
}

}  // namespace
