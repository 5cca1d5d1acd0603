// Files that will not go: an application whose file another program holds open keeps its
// catalogue entry and its row, the completion notice says so, and a later Remove finishes the
// job. The running uninstaller's own file is not such a file.
#include "tests/e2e/EndToEndFixture.h"

#include "tests/support/HeldFile.h"

namespace e2e {
namespace {

const char kDoneText[] = "The programs have been successfully removed from your computer.";
const char kInUseText[] =
    "Some files could not be removed because they are in use. Close all Korvane applications and press 'Remove' "
    "again.";
const char kDoneTextGerman[] = "Die Programme wurden erfoglreich von Ihrem Computer entfernt.";
const char kInUseTextGerman[] =
    "Einige Dateien konnten nicht entfernt werden, weil sie gerade verwendet werden. Schlie\xDF" "en Sie alle Korvane "
    "Anwendungen und bet\xE4tigen Sie erneut 'Entfernen'.";

std::string Row(const Application& application)
{
    return application.name + "\t" + application.directory;
}

class FilesInUse : public EndToEnd {
protected:
    // Presses Remove for the rows selected now and answers Yes; returns the text of the
    // completion notice and closes it with OK ("<no notice>" when none came).
    std::string ConfirmRemovalAndReadNotice(const UninstallerDialog& dialog)
    {
        if (!WaitUntil([&] { return dialog.IsRemoveEnabled(); }))
            return "<Remove not enabled>";
        dialog.PressRemove();
        const MessageBoxWindow confirmation = WaitForMessageBox(m_process.Id());
        if (!confirmation || !confirmation.Press(IDYES) || !confirmation.WaitUntilGone())
            return "<no confirmation>";
        const MessageBoxWindow notice = WaitForMessageBox(m_process.Id());
        if (!notice)
            return "<no notice>";
        const std::string text = notice.Text();
        EXPECT_EQ(kMessageCaption, notice.Caption());
        EXPECT_TRUE(notice.HasButton(IDOK) && !notice.HasButton(IDYES));
        EXPECT_TRUE(notice.Press(IDOK));
        EXPECT_TRUE(notice.WaitUntilGone());
        return text;
    }
};

struct LanguageCase {
    const char* language;  // the catalogue's "Language" value
    const char* caption;
    const char* inUseText;
    const char* doneText;
};

void PrintTo(const LanguageCase& c, std::ostream* out)
{
    *out << c.language;
}

class FileInUse : public FilesInUse, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(FileInUse, KeepsTheEntryUntilASecondRemoveFinishes)
{
    const LanguageCase& language = GetParam();
    Application a = NewApplication(1, "Alpha", "Programs\\Alpha");
    const std::string library = a.directory + "\\Lib\\alpha.dll";
    a.files = {a.directory + "\\alpha.exe", library, a.directory + "\\Data\\alpha.dat"};
    a.shortcuts = {{Path("Menu\\Korvane\\Alpha.lnk"), a.directory + "\\alpha.exe"}};
    Application b = NewApplication(2, "Beta", "Programs\\Beta");
    b.files = {b.directory + "\\beta.exe"};
    InstallProductWithLanguage(language.language);
    Install(a);
    Install(b);

    const UninstallerDialog dialog = Run(b.Uninstaller(), language.caption);
    ASSERT_TRUE(dialog) << "no dialog";
    ASSERT_EQ((std::vector<std::string>{Row(a), Row(b)}), dialog.Rows());
    {
        HeldFile inUse(library);
        ASSERT_TRUE(inUse.IsHeld());
        dialog.SelectRow(0);
        EXPECT_EQ(language.inUseText, ConfirmRemovalAndReadNotice(dialog));

        // What could go went; the held file and its folder stay, and so do the entry and its row.
        EXPECT_FALSE(FileExists(a.directory + "\\alpha.exe"));
        EXPECT_FALSE(DirectoryExists(a.directory + "\\Data"));
        EXPECT_FALSE(DirectoryExists(Path("Menu"))) << "the shortcut and its emptied folders";
        EXPECT_TRUE(FileExists(library));
        EXPECT_TRUE(RegistryKeyExists(a.EntryKey()));
        EXPECT_EQ("Alpha", ReadRegistryText(a.EntryKey(), "AppName"));
        EXPECT_EQ((std::vector<std::string>{Row(a), Row(b)}), dialog.Rows());
        EXPECT_TRUE(dialog.IsRowSelected(0)) << "the row that stayed is still the user's choice";
        EXPECT_TRUE(dialog.IsRemoveEnabled());
        ASSERT_TRUE(inUse.Release()) << "the holder did not end";
    }

    // The application was closed: Remove again takes the rest.
    EXPECT_EQ(language.doneText, ConfirmRemovalAndReadNotice(dialog));
    EXPECT_FALSE(DirectoryExists(a.directory + "\\Lib"));
    EXPECT_FALSE(RegistryKeyExists(a.EntryKey()));
    EXPECT_EQ(std::vector<std::string>{Row(b)}, dialog.Rows());
    EXPECT_FALSE(dialog.IsRemoveEnabled());

    CloseAndWait(dialog);
    EXPECT_FALSE(RegistryKeyExists(a.EntryKey()));
    EXPECT_TRUE(FileExists(b.directory + "\\beta.exe"));
    ExpectTheProgramKeepsItself(b.Uninstaller());
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, FileInUse,
                         ::testing::Values(LanguageCase{"English", kEnglishCaption, kInUseText, kDoneText},
                                           LanguageCase{"Deutsch", kGermanCaption, kInUseTextGerman, kDoneTextGerman}),
                         [](const ::testing::TestParamInfo<LanguageCase>& info) {
                             return std::string(info.param.language);
                         });

// Of two applications removed in one pass, only the one with a file in use keeps its key and
// its row; the other goes as it always did.
TEST_F(FilesInUse, OnlyTheApplicationWithAFileInUseStays)
{
    Application a = NewApplication(1, "Alpha", "Alpha");
    a.files = {a.directory + "\\alpha.exe", a.directory + "\\alpha.dll"};
    Application c = NewApplication(3, "Gamma", "Gamma");
    c.files = {c.directory + "\\gamma.exe"};
    c.shortcuts = {{Path("Desktop\\Gamma.lnk"), c.directory + "\\gamma.exe"}};
    Application host = NewApplication(2, "Host", "Host");
    InstallProductWithLanguage("English");
    Install(a);
    Install(c);
    Install(host);

    const UninstallerDialog dialog = Run(host.Uninstaller());
    ASSERT_TRUE(dialog) << "no dialog";
    ASSERT_EQ((std::vector<std::string>{Row(a), Row(c), Row(host)}), dialog.Rows());
    HeldFile inUse(a.directory + "\\alpha.dll");
    ASSERT_TRUE(inUse.IsHeld());
    dialog.SelectRow(0);
    dialog.SelectRow(1);

    EXPECT_EQ(kInUseText, ConfirmRemovalAndReadNotice(dialog));

    EXPECT_EQ((std::vector<std::string>{Row(a), Row(host)}), dialog.Rows());
    EXPECT_TRUE(RegistryKeyExists(a.EntryKey()));
    EXPECT_FALSE(FileExists(a.directory + "\\alpha.exe"));
    EXPECT_TRUE(FileExists(a.directory + "\\alpha.dll"));
    EXPECT_FALSE(RegistryKeyExists(c.EntryKey()));
    EXPECT_FALSE(FileExists(c.directory + "\\gamma.exe"));
    EXPECT_FALSE(DirectoryExists(Path("Desktop")));
    EXPECT_TRUE(RegistryKeyExists(host.EntryKey()));
    ASSERT_TRUE(inUse.Release());
    CloseAndWait(dialog);
}

// The uninstaller cannot delete its own file while it runs; the self-deletion at closing does.
// Listed by the entry it removes, that file does not make the removal incomplete.
TEST_F(FilesInUse, TheRunningUninstallersOwnFileIsNotLeftBehind)
{
    Application a = NewApplication(1, "Alpha", "Programs\\Alpha");
    a.files = {a.directory + "\\alpha.exe", a.Uninstaller()};
    InstallProductWithLanguage("English");
    Install(a);

    const UninstallerDialog dialog = Run(a.Uninstaller());
    ASSERT_TRUE(dialog) << "no dialog";
    dialog.SelectRow(0);
    EXPECT_EQ(kDoneText, ConfirmRemovalAndReadNotice(dialog));
    EXPECT_FALSE(RegistryKeyExists(a.EntryKey()));
    EXPECT_EQ(0, dialog.RowCount());
    EXPECT_FALSE(FileExists(a.directory + "\\alpha.exe"));

    CloseAndWait(dialog);
    EXPECT_FALSE(RegistryKeyExists(kProductKey));
    ExpectTheProgramDeletesItself(a.Uninstaller());
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(Path("Programs")); })) << "emptied folders stayed";
}

}  // namespace
}  // namespace e2e
