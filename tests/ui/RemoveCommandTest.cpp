// The Remove command against a test catalogue with real files and shortcuts: one
// confirmation, the selected entries removed from the last row up, one completion notice,
// and both boxes owned by the dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "framework/Wnd.h"
#include "res/resource.h"
#include "tests/support/Shortcut.h"
#include "tests/support/TestEnvironment.h"
#include "tests/ui/CatalogueFixture.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/SentMessages.h"
#include "ui/UninstallDlg.h"

using namespace dialog_driver;
using namespace dialog_tests;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::KeyExists;
using testing_support::ScopedTestDirectory;
using testing_support::ScopedTestKey;
using testing_support::SetText;

namespace {

// The boxes come from the program's application object, in English.
void UseEnglishBoxes()
{
    theApp.m_nLanguage = 0;
}

const char kConfirmText[] = "Are you sure that you want to remove the selected applications?";
const char kDoneText[] = "The programs have been successfully removed from your computer.";

// What a message box showed while it was open.
struct BoxSeen {
    bool found = false;
    std::string text;
    std::string caption;
    bool yes = false, no = false, ok = false;
    bool ownedByDialog = false;
    bool dialogEnabled = true;
};

BoxSeen LookAtBox(HWND dialogWindow, HWND& box)
{
    BoxSeen seen;
    box = WaitForDialogWindow(dialogWindow);
    if (!box)
        return seen;
    seen.found = true;
    seen.text = MessageBoxText(box);
    seen.caption = WindowText(box);
    seen.yes = HasButton(box, IDYES);
    seen.no = HasButton(box, IDNO);
    seen.ok = HasButton(box, IDOK);
    seen.ownedByDialog = ::GetWindow(box, GW_OWNER) == dialogWindow;
    seen.dialogEnabled = ::IsWindowEnabled(dialogWindow) != FALSE;
    return seen;
}

// Answers the open box and waits until the dialog's thread is back in a message loop: the
// dialog's own, or that of a box the command opened next.
void Answer(HWND dialogWindow, HWND box, int button)
{
    PressButton(box, button);
    EXPECT_TRUE(WaitForWindowGone(box));
    ::SendMessageA(dialogWindow, WM_NULL, 0, 0);
}

// Called right after Answer, when any box that the command opened next is already shown.
bool OnlyTheDialogIsOpen(HWND dialogWindow)
{
    return FindDialogWindow(dialogWindow) == nullptr;
}

// An entry whose one listed file exists on disk.
void AddEntryWithFile(const std::string& productKey, int index, const char* appName, const std::string& directory,
                      const std::string& file)
{
    testing_support::WriteTextFile(file);
    AddEntry(productKey, index, appName, directory.c_str());
    SetText(EntryKey(productKey, index), "File 1", file);
}

// The list's rows and whether Remove can be pressed, once the command is over.
struct DialogAfter {
    std::vector<ListRow> rows;
    bool removeEnabled = false;
};

DialogAfter LookAtDialog(HWND dialogWindow)
{
    return {ListRows(::GetDlgItem(dialogWindow, IDC_APP_LIST)),
            ::IsWindowEnabled(::GetDlgItem(dialogWindow, IDC_REMOVE)) != FALSE};
}

// The state of the catalogue and disk when the list is told to delete a row.
struct RowDeletion {
    WPARAM row;
    bool alphaFile, alphaLink, alphaKey, gammaKey;
    bool waitCursor;
};

TEST(RemoveCommand, ConfirmedPassRemovesTheSelectedEntriesFromTheLastRowUp)
{
    UseEnglishBoxes();
    ScopedTestKey product;
    ScopedTestDirectory folder;
    const std::string& key = product.Path();
    const std::string alphaFile = folder / "Alpha\\a.txt";
    const std::string alphaLink = folder / "Links\\Alpha.lnk";
    const std::string betaFile = folder / "Beta\\b.txt";
    AddEntryWithFile(key, 7, "Alpha", folder / "Alpha", alphaFile);
    ASSERT_TRUE(testing_support::MakeShortcut(alphaLink, alphaFile));
    SetText(EntryKey(key, 7), "Link 1", alphaLink);
    AddEntryWithFile(key, 2, "Beta", folder / "Beta", betaFile);
    AddEntry(key, 4, "Gamma", (folder / "Gamma").c_str());  // no File and no Link values

    std::vector<RowDeletion> deletions;
    SentMessages sent([&](const CWPSTRUCT& call) {
        if (call.message == LB_DELETESTRING)
            deletions.push_back({call.wParam, FileExists(alphaFile), FileExists(alphaLink), KeyExists(EntryKey(key, 7)),
                                 KeyExists(EntryKey(key, 4)), AfxIsWaitCursorShown()});
    });

    CUninstallDlg dialog(key.c_str());
    BoxSeen confirm, done;
    DialogAfter after{{}, true};  // Remove enabled: a command that never got that far fails below
    bool noThirdBox = false;
    RunModal(dialog, [&](HWND window) {
        SelectRows(window, IDC_APP_LIST, {0, 2});  // Alpha (App7) and Gamma (App4)
        PostCommand(window, IDC_REMOVE);
        HWND box = nullptr;
        confirm = LookAtBox(window, box);
        if (!confirm.found)
            return;
        Answer(window, box, IDYES);
        done = LookAtBox(window, box);
        after = LookAtDialog(window);
        if (!done.found)
            return;
        Answer(window, box, IDOK);
        noThirdBox = OnlyTheDialogIsOpen(window);
        PostCommand(window, IDOK);
    });

    ASSERT_TRUE(confirm.found);
    EXPECT_EQ(kConfirmText, confirm.text);
    EXPECT_EQ("Korvane", confirm.caption);
    EXPECT_TRUE(confirm.yes && confirm.no);
    EXPECT_TRUE(confirm.ownedByDialog);
    EXPECT_FALSE(confirm.dialogEnabled) << "nothing in the dialog may be pressed meanwhile";

    ASSERT_TRUE(done.found);
    EXPECT_EQ(kDoneText, done.text);
    EXPECT_TRUE(done.ok && !done.yes);
    EXPECT_TRUE(done.ownedByDialog);
    EXPECT_FALSE(done.dialogEnabled);
    EXPECT_TRUE(noThirdBox) << "one completion notice for the whole pass";

    EXPECT_EQ((std::vector<ListRow>{{"Beta\t" + folder / "Beta", 2}}), after.rows);
    EXPECT_FALSE(after.removeEnabled) << "no row is selected after the pass";

    ASSERT_EQ(2u, deletions.size());
    EXPECT_EQ(2u, deletions[0].row) << "Gamma, the last selected row, goes first";
    EXPECT_TRUE(deletions[0].gammaKey) << "the row goes before its entry key";
    EXPECT_TRUE(deletions[0].alphaFile && deletions[0].alphaLink && deletions[0].alphaKey);
    EXPECT_EQ(0u, deletions[1].row);
    EXPECT_FALSE(deletions[1].alphaLink) << "links and files go before the row";
    EXPECT_FALSE(deletions[1].alphaFile);
    EXPECT_TRUE(deletions[1].alphaKey) << "the row goes before its entry key";
    EXPECT_FALSE(deletions[1].gammaKey);
    EXPECT_TRUE(deletions[0].waitCursor && deletions[1].waitCursor);
    EXPECT_FALSE(AfxIsWaitCursorShown());

    EXPECT_FALSE(KeyExists(EntryKey(key, 7)));
    EXPECT_FALSE(KeyExists(EntryKey(key, 4)));
    EXPECT_TRUE(KeyExists(EntryKey(key, 2)));
    EXPECT_FALSE(DirectoryExists(folder / "Alpha")) << "emptied folders go with the file";
    EXPECT_FALSE(DirectoryExists(folder / "Links"));
    EXPECT_TRUE(FileExists(betaFile));
}

TEST(RemoveCommand, AnsweringNoChangesNothing)
{
    UseEnglishBoxes();
    ScopedTestKey product;
    ScopedTestDirectory folder;
    const std::string file = folder / "One\\one.txt";
    AddEntryWithFile(product.Path(), 1, "One", folder / "One", file);

    SentMessages sent;
    CUninstallDlg dialog(product.Path().c_str());
    BoxSeen confirm;
    bool noOtherBox = false;
    DialogAfter after;
    RunModal(dialog, [&](HWND window) {
        SelectRows(window, IDC_APP_LIST, {0});
        PostCommand(window, IDC_REMOVE);
        HWND box = nullptr;
        confirm = LookAtBox(window, box);
        if (!confirm.found)
            return;
        Answer(window, box, IDNO);
        noOtherBox = OnlyTheDialogIsOpen(window);
        after = LookAtDialog(window);
        PostCommand(window, IDOK);
    });

    EXPECT_EQ(kConfirmText, confirm.text);
    EXPECT_TRUE(noOtherBox) << "no completion notice after No";
    EXPECT_EQ((std::vector<ListRow>{{"One\t" + folder / "One", 1}}), after.rows);
    EXPECT_TRUE(after.removeEnabled);
    EXPECT_TRUE(sent.Of(LB_DELETESTRING).empty());
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(KeyExists(EntryKey(product.Path(), 1)));
}

TEST(RemoveCommand, IdenticalRowsEachRemoveOnlyTheirOwnEntry)
{
    UseEnglishBoxes();
    for (int selectedRow : {0, 1}) {
        SCOPED_TRACE(selectedRow);
        ScopedTestKey product;
        ScopedTestDirectory folder;
        for (int i : {5, 6})
            AddEntryWithFile(product.Path(), i, "Twin", "C:\\Twin", folder / ("t" + std::to_string(i) + ".txt"));
        CUninstallDlg dialog(product.Path().c_str());
        LRESULT removedIndex = -1;
        RunModal(dialog, [&](HWND window) {
            removedIndex = ListRows(::GetDlgItem(window, IDC_APP_LIST)).at(static_cast<size_t>(selectedRow)).data;
            SelectRows(window, IDC_APP_LIST, {selectedRow});
            PostCommand(window, IDC_REMOVE);
            for (int answer : {IDYES, IDOK}) {
                const HWND box = WaitForDialogWindow(window);
                if (!box)
                    return;
                Answer(window, box, answer);
            }
            PostCommand(window, IDOK);
        });
        ASSERT_TRUE(removedIndex == 5 || removedIndex == 6);
        const int keptIndex = removedIndex == 5 ? 6 : 5;
        EXPECT_FALSE(KeyExists(EntryKey(product.Path(), static_cast<int>(removedIndex))));
        EXPECT_FALSE(FileExists(folder / ("t" + std::to_string(removedIndex) + ".txt")));
        EXPECT_TRUE(KeyExists(EntryKey(product.Path(), keptIndex)));
        EXPECT_TRUE(FileExists(folder / ("t" + std::to_string(keptIndex) + ".txt")));
    }
}

}  // namespace
