// The uninstaller run as a user runs it: started from an application's folder, rows selected
// in its dialog, Remove confirmed, the dialog closed; then the registry and the disk tell
// what it did.
#include "tests/e2e/EndToEndFixture.h"

namespace e2e {
namespace {

const char kConfirmText[] = "Are you sure that you want to remove the selected applications?";
const char kDoneText[] = "The programs have been successfully removed from your computer.";

std::string Row(const Application& application)
{
    return application.name + "\t" + application.directory;
}

// The typical run: two applications with a shared file, each with a start-menu shortcut;
// A is removed with B's uninstaller, started from B's folder.
TEST_F(EndToEnd, RemovingOneOfTwoFromTheOthersFolderKeepsTheOtherAndItsUninstaller)
{
    const std::string shared = Path("Programs\\Common\\korvane.dll");
    Application a = NewApplication(1, "Alpha", "Programs\\Alpha");
    a.files = {a.directory + "\\alpha.exe", a.directory + "\\Data\\alpha.dat", shared, a.Uninstaller()};
    a.shortcuts = {{Path("Menu\\Korvane\\Alpha.lnk"), a.directory + "\\alpha.exe"},
                   {Path("Desktop\\Alpha.lnk"), a.directory + "\\alpha.exe"}};
    Application b = NewApplication(2, "Beta", "Programs\\Beta");
    b.files = {b.directory + "\\beta.exe", shared};
    b.shortcuts = {{Path("Menu\\Korvane\\Beta.lnk"), b.directory + "\\beta.exe"}};
    InstallProductWithLanguage("English");
    Install(b);
    Install(a);  // installed last, so "UninstallString" names A's uninstaller for now
    ASSERT_EQ(a.Uninstaller(), ReadRegistryText(kProductKey, "UninstallString"));

    const UninstallerDialog dialog = Run(b.Uninstaller());
    ASSERT_TRUE(dialog) << "no dialog";
    EXPECT_EQ(kEnglishCaption, dialog.Caption());
    ASSERT_EQ((std::vector<std::string>{Row(a), Row(b)}), dialog.Rows());
    EXPECT_EQ(1, dialog.RowData(0));
    EXPECT_FALSE(dialog.IsRemoveEnabled()) << "nothing is selected yet";

    const MessageBoxWindow confirmation = SelectRowAndPressRemove(dialog, 0);
    ASSERT_TRUE(confirmation) << "no confirmation";
    EXPECT_EQ(kMessageCaption, confirmation.Caption());
    EXPECT_EQ(kConfirmText, confirmation.Text());
    EXPECT_TRUE(confirmation.HasButton(IDYES));
    EXPECT_TRUE(confirmation.HasButton(IDNO));
    EXPECT_FALSE(::IsWindowEnabled(dialog.Handle())) << "the dialog takes clicks while the box is open";
    ASSERT_TRUE(confirmation.Press(IDYES));
    ASSERT_TRUE(confirmation.WaitUntilGone());

    const MessageBoxWindow done = WaitForMessageBox(m_process.Id());
    ASSERT_TRUE(done) << "no completion notice";
    EXPECT_EQ(kMessageCaption, done.Caption());
    EXPECT_EQ(kDoneText, done.Text());
    EXPECT_TRUE(done.HasButton(IDOK));
    EXPECT_FALSE(done.HasButton(IDYES));
    // The pass is over before the notice shows: A is gone from the catalogue and the disk.
    EXPECT_FALSE(RegistryKeyExists(a.EntryKey()));
    EXPECT_FALSE(FileExists(a.directory + "\\alpha.exe"));
    ASSERT_TRUE(done.Press(IDOK));
    ASSERT_TRUE(done.WaitUntilGone());
    EXPECT_EQ(std::vector<std::string>{Row(b)}, dialog.Rows());

    CloseAndWait(dialog);

    // A: its files, its shortcuts and the folders they leave empty are gone; its entry too.
    EXPECT_FALSE(DirectoryExists(a.directory)) << "A's folder was not pruned";
    EXPECT_FALSE(FileExists(Path("Menu\\Korvane\\Alpha.lnk")));
    EXPECT_FALSE(DirectoryExists(Path("Desktop"))) << "the emptied shortcut folder was not pruned";
    EXPECT_FALSE(RegistryKeyExists(a.EntryKey()));
    // B: everything stays, and the file that both listed stays for B.
    EXPECT_TRUE(FileExists(shared));
    EXPECT_TRUE(FileExists(b.directory + "\\beta.exe"));
    EXPECT_TRUE(FileExists(Path("Menu\\Korvane\\Beta.lnk")));
    EXPECT_TRUE(RegistryKeyExists(b.EntryKey()));
    EXPECT_EQ("Beta", ReadRegistryText(b.EntryKey(), "AppName"));
    // The hand-over points the platform at B's uninstaller, which is the running one: it stays.
    EXPECT_EQ(b.Uninstaller(), ReadRegistryText(kProductKey, "UninstallString"));
    EXPECT_EQ("English", ReadRegistryText(kProductKey, "Language"));
    ExpectTheProgramKeepsItself(b.Uninstaller());
}

TEST_F(EndToEnd, RemovingEveryApplicationDeletesTheProductKeyAndTheUninstaller)
{
    Application a = NewApplication(1, "Alpha", "Programs\\Korvane\\Alpha");
    a.files = {a.directory + "\\alpha.exe", a.Uninstaller()};
    a.shortcuts = {{Path("Desktop\\Alpha.lnk"), a.directory + "\\alpha.exe"}};
    Application b = NewApplication(2, "Beta", "Programs\\Korvane\\Beta");
    // B's own uninstaller is not listed: only the hand-off can delete it.
    b.files = {b.directory + "\\beta.exe", b.directory + "\\Help\\beta.hlp"};
    InstallProductWithLanguage("");
    Install(a);
    Install(b);

    const UninstallerDialog dialog = Run(b.Uninstaller());
    ASSERT_TRUE(dialog) << "no dialog";
    ASSERT_EQ(2, dialog.RowCount());
    dialog.SelectAllRows();
    ASSERT_EQ("", RemoveRowsThroughDialog(dialog, m_process.Id(), {}));
    EXPECT_EQ(0, dialog.RowCount());
    EXPECT_TRUE(RegistryKeyExists(kProductKey)) << "the product key goes only when the dialog closes";

    CloseAndWait(dialog);

    EXPECT_FALSE(RegistryKeyExists(kProductKey));
    EXPECT_FALSE(DirectoryExists(a.directory));
    EXPECT_FALSE(FileExists(Path("Desktop\\Alpha.lnk")));
    ExpectTheProgramDeletesItself(b.Uninstaller());
    // The uninstaller was the last file: its folder and the emptied ones above it go too.
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(Path("Programs")); })) << "emptied folders stayed";
}

// Paths as users have them: the programs below a folder with blanks, and a temporary
// directory with a blank (a user name with a blank puts one there). The hand-off names its
// copy on a command line whose program name ends at the first blank.
TEST_F(EndToEnd, SelfDeletionWorksWithBlanksInThePaths)
{
    UseTemporaryFolder("Local Settings\\Temp Files");
    Application a = NewApplication(1, "Alpha Suite", "Program Files\\Korvane\\Alpha Suite");
    a.files = {a.directory + "\\alpha main.exe", a.Uninstaller()};
    a.shortcuts = {{Path("Start Menu\\Korvane\\Alpha Suite.lnk"), a.directory + "\\alpha main.exe"}};
    InstallProductWithLanguage("English");
    Install(a);

    const UninstallerDialog dialog = Run(a.Uninstaller());
    ASSERT_TRUE(dialog) << "no dialog";
    ASSERT_EQ(std::vector<std::string>{Row(a)}, dialog.Rows());
    ASSERT_EQ("", RemoveRowsThroughDialog(dialog, m_process.Id(), {0}));
    CloseAndWait(dialog);

    EXPECT_FALSE(RegistryKeyExists(kProductKey));
    EXPECT_FALSE(FileExists(Path("Start Menu\\Korvane\\Alpha Suite.lnk")));
    ExpectTheProgramDeletesItself(a.Uninstaller());
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(Path("Program Files")); })) << "emptied folders stayed";
}

TEST_F(EndToEnd, GermanCatalogueShowsTheGermanDialogAndMessages)
{
    Application office = NewApplication(1, "B\xFCrokalender", "Programme\\B\xFCrokalender");
    office.files = {office.directory + "\\kalender.exe", office.Uninstaller()};
    Application sheets = NewApplication(2, "Tabellen", "Programme\\Tabellen");
    sheets.files = {sheets.directory + "\\tabellen.exe"};
    InstallProductWithLanguage("Deutsch");
    Install(office);
    Install(sheets);

    const UninstallerDialog dialog = Run(sheets.Uninstaller(), kGermanCaption);
    ASSERT_TRUE(dialog) << "no German dialog";
    EXPECT_EQ(kGermanCaption, dialog.Caption());
    EXPECT_EQ("&Schlie\xDF" "en", dialog.ControlText(IDOK));
    EXPECT_EQ("&Entfernen", dialog.ControlText(IDC_REMOVE));
    ASSERT_EQ((std::vector<std::string>{Row(office), Row(sheets)}), dialog.Rows());

    const MessageBoxWindow confirmation = SelectRowAndPressRemove(dialog, 0);
    ASSERT_TRUE(confirmation);
    EXPECT_EQ(kMessageCaption, confirmation.Caption());
    EXPECT_EQ("Sind Sie sicher, dass Sie die gew\xE4hlten Programme von Ihrem Computer entfernen m\xF6" "chten?",
              confirmation.Text());
    ASSERT_TRUE(confirmation.Press(IDYES));
    ASSERT_TRUE(confirmation.WaitUntilGone());
    const MessageBoxWindow done = WaitForMessageBox(m_process.Id());
    ASSERT_TRUE(done);
    EXPECT_EQ(kMessageCaption, done.Caption());
    EXPECT_EQ("Die Programme wurden erfoglreich von Ihrem Computer entfernt.", done.Text());
    ASSERT_TRUE(done.Press(IDOK));
    ASSERT_TRUE(done.WaitUntilGone());

    CloseAndWait(dialog);
    EXPECT_FALSE(DirectoryExists(office.directory));
    EXPECT_FALSE(RegistryKeyExists(office.EntryKey()));
    EXPECT_TRUE(FileExists(sheets.directory + "\\tabellen.exe"));
    ExpectTheProgramKeepsItself(sheets.Uninstaller());
}

// Rows are sorted by text; the row's own index, not its position, names the entry removed.
TEST_F(EndToEnd, SortedRowsRemoveTheEntryTheyShow)
{
    Application beta = NewApplication(2, "Beta", "Beta");
    beta.files = {beta.directory + "\\beta.exe"};
    Application alpha = NewApplication(7, "Alpha", "Alpha");
    alpha.files = {alpha.directory + "\\alpha.exe"};
    InstallProductWithLanguage("English");
    Install(beta);
    Install(alpha);

    const UninstallerDialog dialog = Run(beta.Uninstaller());
    ASSERT_TRUE(dialog);
    ASSERT_EQ((std::vector<std::string>{Row(alpha), Row(beta)}), dialog.Rows());
    EXPECT_EQ(7, dialog.RowData(0));
    EXPECT_EQ(2, dialog.RowData(1));

    ASSERT_EQ("", RemoveRowsThroughDialog(dialog, m_process.Id(), {0}));
    EXPECT_EQ(std::vector<std::string>{Row(beta)}, dialog.Rows());
    CloseAndWait(dialog);

    EXPECT_FALSE(RegistryKeyExists(alpha.EntryKey()));
    EXPECT_FALSE(FileExists(alpha.directory + "\\alpha.exe"));
    EXPECT_TRUE(RegistryKeyExists(beta.EntryKey()));
    EXPECT_TRUE(FileExists(beta.directory + "\\beta.exe"));
    EXPECT_EQ(beta.Uninstaller(), ReadRegistryText(kProductKey, "UninstallString"));
}

TEST_F(EndToEnd, ConfirmationAnsweredNoChangesNothing)
{
    Application a = NewApplication(1, "Alpha", "Alpha");
    a.files = {a.directory + "\\alpha.exe"};
    a.shortcuts = {{Path("Menu\\Alpha.lnk"), a.directory + "\\alpha.exe"}};
    Application b = NewApplication(2, "Beta", "Beta");
    b.files = {b.directory + "\\beta.exe"};
    InstallProductWithLanguage("English");
    Install(a);
    Install(b);

    const UninstallerDialog dialog = Run(b.Uninstaller());
    ASSERT_TRUE(dialog);
    const MessageBoxWindow confirmation = SelectRowAndPressRemove(dialog, 0);
    ASSERT_TRUE(confirmation);
    ASSERT_TRUE(confirmation.Press(IDNO));
    ASSERT_TRUE(confirmation.WaitUntilGone());
    // A round trip through the dialog's thread: a notice, had one followed, exists by now.
    ASSERT_EQ(2, dialog.RowCount());
    EXPECT_FALSE(FindMessageBox(m_process.Id())) << "a completion notice followed No";

    EXPECT_EQ((std::vector<std::string>{Row(a), Row(b)}), dialog.Rows());
    EXPECT_TRUE(dialog.IsRowSelected(0));
    EXPECT_TRUE(dialog.IsRemoveEnabled());
    EXPECT_TRUE(RegistryKeyExists(a.EntryKey()));
    EXPECT_TRUE(FileExists(a.directory + "\\alpha.exe"));
    EXPECT_TRUE(FileExists(Path("Menu\\Alpha.lnk")));

    CloseAndWait(dialog);
    EXPECT_TRUE(RegistryKeyExists(a.EntryKey()));
    EXPECT_TRUE(FileExists(a.directory + "\\alpha.exe"));
    ExpectTheProgramKeepsItself(b.Uninstaller());
}

// Two entries with the same name and folder give two identical rows; each row removes its
// own entry and its own files only.
TEST_F(EndToEnd, IdenticalRowsEachRemoveOnlyTheirOwnEntry)
{
    Application host = NewApplication(1, "Host", "Host");
    Application first = NewApplication(3, "Twin", "Twin");
    first.files = {first.directory + "\\first.dll"};
    Application second = first;
    second.index = 4;
    second.files = {second.directory + "\\second.dll"};
    InstallProductWithLanguage("English");
    Install(first);
    Install(second);
    Install(host);

    const UninstallerDialog dialog = Run(host.Uninstaller());
    ASSERT_TRUE(dialog);
    ASSERT_EQ((std::vector<std::string>{Row(host), Row(first), Row(first)}), dialog.Rows());
    const LRESULT removedFirst = dialog.RowData(1);
    const LRESULT keptFirst = dialog.RowData(2);
    ASSERT_EQ(7, removedFirst + keptFirst) << "the twin rows must carry indices 3 and 4";
    const Application& removed = removedFirst == 3 ? first : second;
    const Application& kept = removedFirst == 3 ? second : first;

    ASSERT_EQ("", RemoveRowsThroughDialog(dialog, m_process.Id(), {1}));
    EXPECT_EQ((std::vector<std::string>{Row(host), Row(first)}), dialog.Rows());
    EXPECT_EQ(keptFirst, dialog.RowData(1));
    EXPECT_FALSE(RegistryKeyExists(removed.EntryKey()));
    EXPECT_FALSE(FileExists(removed.files[0]));
    EXPECT_TRUE(RegistryKeyExists(kept.EntryKey()));
    EXPECT_TRUE(FileExists(kept.files[0]));

    ASSERT_EQ("", RemoveRowsThroughDialog(dialog, m_process.Id(), {1}));
    EXPECT_FALSE(RegistryKeyExists(kept.EntryKey()));
    EXPECT_FALSE(FileExists(kept.files[0]));
    CloseAndWait(dialog);
    EXPECT_TRUE(RegistryKeyExists(host.EntryKey()));
}

TEST_F(EndToEnd, RemoveIsEnabledOnlyWhileARowIsSelected)
{
    Application a = NewApplication(1, "Alpha", "Alpha");
    a.files = {a.directory + "\\alpha.exe"};
    Application b = NewApplication(2, "Beta", "Beta");
    InstallProductWithLanguage("English");
    Install(a);
    Install(b);

    const UninstallerDialog dialog = Run(b.Uninstaller());
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog.IsRemoveEnabled()) << "enabled with no selection";
    dialog.SelectRow(1);
    EXPECT_TRUE(WaitUntil([&] { return dialog.IsRemoveEnabled(); })) << "selecting did not enable Remove";
    dialog.SelectRow(1, false);
    EXPECT_TRUE(WaitUntil([&] { return !dialog.IsRemoveEnabled(); })) << "deselecting kept Remove enabled";

    ASSERT_EQ("", RemoveRowsThroughDialog(dialog, m_process.Id(), {0}));
    EXPECT_EQ(1, dialog.RowCount());
    EXPECT_FALSE(dialog.IsRowSelected(0));
    EXPECT_FALSE(dialog.IsRemoveEnabled()) << "Remove stayed enabled after the pass removed the selection";
    CloseAndWait(dialog);
}

}  // namespace
}  // namespace e2e
