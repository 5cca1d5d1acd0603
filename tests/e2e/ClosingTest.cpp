// Every way of closing the dialog runs the same hand-over, and how the program is started
// (directly or by the platform's list of installed software) changes nothing.
#include "tests/e2e/EndToEndFixture.h"

namespace e2e {
namespace {

class ClosingWay : public EndToEnd, public ::testing::WithParamInterface<CloseWay> {};

// A copy of the uninstaller started from a folder that no entry names: closing points the
// platform at the remaining application's uninstaller and lets the copy delete itself.
TEST_P(ClosingWay, RunsTheHandOver)
{
    Application kept = NewApplication(1, "Kept", "Kept");
    kept.files = {kept.directory + "\\kept.exe"};
    InstallProductWithLanguage("English");
    Install(kept);
    ASSERT_EQ("", WriteRegistryText(kProductKey, "UninstallString", "C:\\Stale\\Uninstall.exe"));
    const std::string stray = Path("Downloads\\Uninstall.exe");
    MakeDirectories(Path("Downloads"));
    ASSERT_TRUE(::CopyFileA(TEST_UNINSTALL_EXE, stray.c_str(), FALSE));

    const UninstallerDialog dialog = Run(stray);
    ASSERT_TRUE(dialog);
    ASSERT_EQ(1, dialog.RowCount());
    CloseAndWait(dialog, GetParam());

    EXPECT_EQ(kept.Uninstaller(), ReadRegistryText(kProductKey, "UninstallString"));
    EXPECT_TRUE(RegistryKeyExists(kept.EntryKey()));
    EXPECT_TRUE(FileExists(kept.Uninstaller()));
    ExpectTheProgramDeletesItself(stray);
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(Path("Downloads")); })) << "the emptied folder stayed";
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, ClosingWay,
                         ::testing::Values(CloseWay::CloseButton, CloseWay::EscapeKey, CloseWay::TitleBarClose,
                                           CloseWay::SystemMenuClose),
                         [](const ::testing::TestParamInfo<CloseWay>& info) {
                             switch (info.param) {
                             case CloseWay::CloseButton:
                                 return "CloseButton";
                             case CloseWay::EscapeKey:
                                 return "EscapeKey";
                             case CloseWay::TitleBarClose:
                                 return "TitleBarClose";
                             case CloseWay::SystemMenuClose:
                                 return "SystemMenuClose";
                             }
                             return "Unknown";
                         });

// The platform's own way in: its uninstaller program looks up the product key by name and
// starts what "UninstallString" names.
TEST_F(EndToEnd, StartedThroughThePlatformsListOfInstalledSoftware)
{
    Application a = NewApplication(1, "Alpha", "Alpha");
    a.files = {a.directory + "\\alpha.exe", a.Uninstaller()};
    Application b = NewApplication(2, "Beta", "Beta");
    b.files = {b.directory + "\\beta.exe"};
    InstallProductWithLanguage("English");
    Install(a);
    Install(b);
    ASSERT_EQ(b.Uninstaller(), ReadRegistryText(kProductKey, "UninstallString"));

    UninstallerProcess platform;
    ASSERT_TRUE(platform.StartCommand("uninstaller.exe --remove \"Korvane Version 7.0\"", TemporaryDirectory()));
    const UninstallerDialog dialog = WaitForDialog(0, kEnglishCaption);
    ASSERT_TRUE(dialog) << "the platform did not start the uninstaller";
    DWORD processId = 0;
    ::GetWindowThreadProcessId(dialog.Handle(), &processId);
    ASSERT_TRUE(m_process.Attach(processId));
    ASSERT_NE(platform.Id(), processId);

    ASSERT_EQ(2, dialog.RowCount());
    dialog.SelectAllRows();
    ASSERT_EQ("", RemoveRowsThroughDialog(dialog, processId, {}));
    CloseAndWait(dialog);

    EXPECT_FALSE(RegistryKeyExists(kProductKey));
    EXPECT_FALSE(DirectoryExists(a.directory));
    // The program that ran was B's: nothing but its own hand-off can have deleted it.
    ExpectTheProgramDeletesItself(b.Uninstaller());
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(b.directory); }));
    EXPECT_TRUE(platform.WaitForExit()) << "the platform's uninstaller did not end after the program";
}

}  // namespace
}  // namespace e2e
