// The removal passes over one catalogue entry, against the real registry, real shortcut
// files made by the shell's link object, and real folders.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <vector>

#include "tests/removal/RemovalTestSupport.h"
#include "tests/support/Shortcut.h"
#include "ui/UninstallDlg.h"

using namespace removal_tests;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::MakeShortcut;
using testing_support::ScopedTestDirectory;
using testing_support::ScopedTestKey;
using testing_support::SetText;

namespace {

// The test's own key is the product key; its folder holds an application, a start menu with
// one shortcut, and a file at the top so that no walk leaves the folder.
class EntryRemoval : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LayOut(t, {"Prog\\App.exe", "Prog\\Help.txt", "Menu\\other.txt"}));
    }

    std::string Entry(int index) const { return product.Path() + "\\App" + std::to_string(index); }

    // Writes the values of an entry: Name 1, Name 2, ... in order; a null entry is a gap.
    void SetList(int index, const char* name, const std::vector<const char*>& values)
    {
        for (size_t i = 0; i < values.size(); ++i) {
            if (values[i])
                SetText(Entry(index), (std::string(name) + " " + std::to_string(i + 1)).c_str(),
                        Expand(values[i], t.Path()));
        }
    }

    ScopedTestKey product;
    ScopedTestDirectory t;
    CUninstallDlg dialog{CString(product.Path().c_str())};
};

// --- The shortcut check ---

enum class LinkKind { ShortcutToApp, MissingFile, TextFile };

struct LinkCase {
    const char* name;
    std::vector<const char*> files;
    LinkKind link;
    BOOL belongs;
};

const LinkCase kLinkCases[] = {
    {"target is File 1", {"{T}\\Prog\\App.exe"}, LinkKind::ShortcutToApp, TRUE},
    {"target is File 2", {"{T}\\Prog\\Help.txt", "{T}\\Prog\\App.exe"}, LinkKind::ShortcutToApp, TRUE},
    {"target differs in letter case", {"{T}\\PROG\\app.EXE"}, LinkKind::ShortcutToApp, TRUE},
    {"File value with forward slashes", {"{T}/Prog/App.exe"}, LinkKind::ShortcutToApp, TRUE},
    {"target not listed", {"{T}\\Prog\\Help.txt"}, LinkKind::ShortcutToApp, FALSE},
    {"target only after a gap", {"{T}\\Prog\\Help.txt", nullptr, "{T}\\Prog\\App.exe"}, LinkKind::ShortcutToApp,
     FALSE},
    {"entry without files", {}, LinkKind::ShortcutToApp, FALSE},
    // Neither of these yields a target; an empty File value must not match that.
    {"shortcut file missing", {"", "{T}\\Prog\\App.exe"}, LinkKind::MissingFile, FALSE},
    {"not a shortcut", {"", "{T}\\Prog\\App.exe"}, LinkKind::TextFile, FALSE},
};

TEST_F(EntryRemoval, ShortcutCheckCases)
{
    for (const LinkCase& c : kLinkCases) {
        SCOPED_TRACE(c.name);
        testing_support::DeleteTree(Entry(1));
        SetList(1, "File", c.files);
        const std::string link = t / "Menu\\case.lnk";
        ::DeleteFileA(link.c_str());
        if (c.link == LinkKind::ShortcutToApp)
            ASSERT_TRUE(MakeShortcut(link, t / "Prog\\App.exe"));
        else if (c.link == LinkKind::TextFile)
            testing_support::WriteTextFile(link, "not a shortcut");

        EXPECT_EQ(c.belongs, dialog.LinkTargetBelongsToEntry(Entry(1).c_str(), link.c_str()));
    }
}

TEST_F(EntryRemoval, ShortcutCheckReadsTheTargetTheShellWrote)
{
    // The check relies on the link object handing back the target it was given.
    ASSERT_TRUE(MakeShortcut(t / "Menu\\a.lnk", t / "Prog\\App.exe"));
    EXPECT_EQ(0, lstrcmpiA((t / "Prog\\App.exe").c_str(),
                           testing_support::ReadShortcutTarget(t / "Menu\\a.lnk").c_str()));
}

// A shortcut that the tests write is theirs alone: nothing in the background opens it later
// and makes its deletion fail by chance (the platform's menu builder, which the shell's link
// object starts on each save, did so a few hundred milliseconds after the save).
TEST_F(EntryRemoval, NothingElseOpensTheShortcutsTheTestsWrite)
{
    std::vector<std::string> links;
    for (int i = 0; i < 5; ++i) {
        links.push_back(t / ("Menu\\watched" + std::to_string(i) + ".lnk"));
        ASSERT_TRUE(MakeShortcut(links.back(), t / "Prog\\App.exe"));
    }
    // Each open without sharing fails while anyone else has the file open.
    const DWORD start = ::GetTickCount();
    int sharingViolations = 0;
    while (::GetTickCount() - start < 800) {
        for (const std::string& link : links) {
            const KernelHandle file(
                ::CreateFileA(link.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            if (!file && ::GetLastError() == ERROR_SHARING_VIOLATION)
                ++sharingViolations;
        }
    }
    EXPECT_EQ(0, sharingViolations);
}

// The check owns COM for its own span only: it leaves the thread as it found it.
TEST_F(EntryRemoval, ShortcutCheckUninitialisesWhatItInitialised)
{
    SetList(1, "File", {"{T}\\Prog\\App.exe"});
    ASSERT_TRUE(MakeShortcut(t / "Menu\\a.lnk", t / "Prog\\App.exe"));

    EXPECT_TRUE(dialog.LinkTargetBelongsToEntry(Entry(1).c_str(), (t / "Menu\\a.lnk").c_str()));
    EXPECT_TRUE(dialog.LinkTargetBelongsToEntry(Entry(1).c_str(), (t / "Menu\\a.lnk").c_str()));

    // Not initialised any more: a fresh initialisation is the first one again.
    const HRESULT again = ::CoInitialize(nullptr);
    EXPECT_EQ(S_OK, again);
    if (SUCCEEDED(again))
        ::CoUninitialize();
}

// Ends every initialisation of COM still open on the thread when the test ends: the test's
// own, and those of the check, which counts its S_FALSE initialisations but, as meant, leaves
// them to whoever initialised COM first. The shortcut tests after this one in the process need
// a thread without COM.
class ComUninitialisedAtEnd {
public:
    ~ComUninitialisedAtEnd()
    {
        for (;;) {
            const HRESULT probe = ::CoInitialize(nullptr);
            if (FAILED(probe))
                return;
            ::CoUninitialize();  // the probe's own
            if (probe != S_FALSE)
                return;  // COM was no longer initialised
            ::CoUninitialize();  // one that was still open
        }
    }
};

// With COM already initialised on the thread the check answers false at once, and leaves the
// caller's initialisation in place.
TEST_F(EntryRemoval, ComAlreadyInitialisedKeepsEveryShortcut)
{
    SetList(1, "File", {"{T}\\Prog\\App.exe", "{T}\\Prog\\Help.txt"});
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\App.lnk", t / "Prog\\App.exe"));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\Help.lnk", t / "Prog\\Help.txt"));
    SetList(1, "Link", {"{T}\\Menu\\Korvane\\App.lnk", "{T}\\Menu\\Korvane\\Help.lnk"});

    ASSERT_EQ(S_OK, ::CoInitialize(nullptr));
    const ComUninitialisedAtEnd balance;
    dialog.RemoveEntryLinks(Entry(1).c_str());
    const HRESULT stillInitialised = ::CoInitialize(nullptr);
    ::CoUninitialize();

    EXPECT_EQ(S_FALSE, stillInitialised);
    EXPECT_TRUE(FileExists(t / "Menu\\Korvane\\App.lnk"));
    EXPECT_TRUE(FileExists(t / "Menu\\Korvane\\Help.lnk"));
}

// --- The shortcut pass ---

TEST_F(EntryRemoval, ShortcutToOwnFileGoesWithItsEmptiedFolder)
{
    // Letter case differs between the File value and the target.
    SetList(1, "File", {"{T}\\prog\\APP.exe"});
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\App.lnk", t / "Prog\\App.exe"));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\Help.lnk", t / "Prog\\Help.txt"));
    SetList(1, "Link", {"{T}\\Menu\\Korvane\\App.lnk"});

    dialog.RemoveEntryLinks(Entry(1).c_str());

    EXPECT_FALSE(FileExists(t / "Menu\\Korvane\\App.lnk"));
    EXPECT_TRUE(FileExists(t / "Menu\\Korvane\\Help.lnk"));
    // The pass deletes shortcuts only, never the files they point at.
    EXPECT_TRUE(FileExists(t / "Prog\\App.exe"));
}

TEST_F(EntryRemoval, ShortcutPassPrunesTheFoldersItEmpties)
{
    SetList(1, "File", {"{T}\\Prog\\App.exe"});
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\Tools\\App.lnk", t / "Prog\\App.exe"));
    SetList(1, "Link", {"{T}\\Menu\\Korvane\\Tools\\App.lnk"});

    dialog.RemoveEntryLinks(Entry(1).c_str());

    EXPECT_FALSE(DirectoryExists(t / "Menu\\Korvane"));
    EXPECT_TRUE(FileExists(t / "Menu\\other.txt"));
    EXPECT_EQ("Menu", CurrentDirectoryBelow(t.Path()));
}

TEST_F(EntryRemoval, ShortcutPassKeepsForeignAndUnreachedShortcuts)
{
    SetList(1, "File", {"{T}\\Prog\\App.exe"});
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Foreign.lnk", t / "Prog\\Help.txt"));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Late.lnk", t / "Prog\\App.exe"));
    // Link 2 is missing, so Link 3 is never read.
    SetList(1, "Link", {"{T}\\Menu\\Foreign.lnk", nullptr, "{T}\\Menu\\Late.lnk"});

    dialog.RemoveEntryLinks(Entry(1).c_str());

    EXPECT_TRUE(FileExists(t / "Menu\\Foreign.lnk"));
    EXPECT_TRUE(FileExists(t / "Menu\\Late.lnk"));
}

// The check compares against the registry, not the disk.
TEST_F(EntryRemoval, ShortcutGoesEvenWhenItsTargetIsAlreadyGone)
{
    SetList(1, "File", {"{T}\\Prog\\App.exe"});
    ASSERT_TRUE(MakeShortcut(t / "Menu\\App.lnk", t / "Prog\\App.exe"));
    SetList(1, "Link", {"{T}\\Menu\\App.lnk"});
    ASSERT_TRUE(::DeleteFileA((t / "Prog\\App.exe").c_str()));

    dialog.RemoveEntryLinks(Entry(1).c_str());

    EXPECT_FALSE(FileExists(t / "Menu\\App.lnk"));
}

// --- The file pass ---

TEST_F(EntryRemoval, EntryWithoutFirstValuesRemovesNothing)
{
    ASSERT_TRUE(MakeShortcut(t / "Menu\\App.lnk", t / "Prog\\App.exe"));
    SetList(1, "Link", {nullptr, "{T}\\Menu\\App.lnk"});
    SetList(1, "File", {nullptr, "{T}\\Prog\\App.exe"});

    dialog.RemoveEntryLinks(Entry(1).c_str());
    dialog.RemoveEntryFiles(Entry(1).c_str());

    EXPECT_TRUE(FileExists(t / "Menu\\App.lnk"));
    EXPECT_TRUE(FileExists(t / "Prog\\App.exe"));
}

TEST_F(EntryRemoval, GapEndsTheFilePass)
{
    SetList(1, "File", {"{T}\\Prog\\App.exe", nullptr, "{T}\\Prog\\Help.txt"});

    dialog.RemoveEntryFiles(Entry(1).c_str());

    EXPECT_FALSE(FileExists(t / "Prog\\App.exe"));
    EXPECT_TRUE(FileExists(t / "Prog\\Help.txt"));
}

TEST_F(EntryRemoval, LastFileTakesItsFolders)
{
    MakeLayout(t.Path(), {"Prog\\Data\\Deep\\d.dat", "Prog\\Empty\\"});
    SetList(1, "File", {"{T}\\Prog\\App.exe", "{T}\\Prog\\Data\\Deep\\d.dat", "{T}\\Prog\\Help.txt",
                        "{T}\\Prog\\Empty", "{T}\\Prog\\App.exe"});

    dialog.RemoveEntryFiles(Entry(1).c_str());

    EXPECT_FALSE(DirectoryExists(t / "Prog"));
    EXPECT_TRUE(FileExists(t / "keep.txt"));
    EXPECT_EQ(".", CurrentDirectoryBelow(t.Path()));
}

// Which other entries protect a file: the range of the other-entry query is 0 to 50.
struct SharedCase {
    int otherIndex;
    bool protects;
};

const SharedCase kSharedCases[] = {{0, true}, {2, true}, {49, true}, {50, true}, {51, false}};

TEST_F(EntryRemoval, FileListedByAnotherEntryStays)
{
    for (const SharedCase& c : kSharedCases) {
        SCOPED_TRACE(c.otherIndex);
        MakeLayout(t.Path(), {"Shared\\s.dll"});
        testing_support::DeleteTree(Entry(1));
        testing_support::DeleteTree(Entry(c.otherIndex));
        SetList(1, "File", {"{T}\\Shared\\s.dll"});
        // The other entry lists it in another letter case, after a file of its own.
        SetList(c.otherIndex, "File", {"{T}\\Other\\o.exe", "{T}\\SHARED\\S.DLL"});

        dialog.RemoveEntryFiles(Entry(1).c_str());

        EXPECT_EQ(c.protects, FileExists(t / "Shared\\s.dll"));
        testing_support::DeleteTree(Entry(c.otherIndex));
    }
}

TEST_F(EntryRemoval, SharedFileGoesWithTheLastEntryThatListsIt)
{
    MakeLayout(t.Path(), {"Shared\\s.dll"});
    SetList(1, "File", {"{T}\\Shared\\s.dll"});
    SetList(2, "File", {"{T}\\Shared\\s.dll"});

    dialog.RemoveEntryFiles(Entry(1).c_str());
    ASSERT_TRUE(FileExists(t / "Shared\\s.dll"));
    testing_support::DeleteTree(Entry(1));  // as the Remove command does after both passes

    dialog.RemoveEntryFiles(Entry(2).c_str());
    EXPECT_FALSE(DirectoryExists(t / "Shared"));
}

// A folder that still holds files is meant to stay: it is nothing left behind.
TEST_F(EntryRemoval, FileValueNamingAFolder)
{
    MakeLayout(t.Path(), {"Plugins\\a\\", "Plugins\\b\\", "Data\\x\\d.dat"});
    SetList(1, "File", {"{T}\\Plugins", "{T}\\Data"});
    App().m_leftBehind.Reset();

    dialog.RemoveEntryFiles(Entry(1).c_str());

    EXPECT_FALSE(DirectoryExists(t / "Plugins"));
    EXPECT_TRUE(FileExists(t / "Data\\x\\d.dat"));
    EXPECT_EQ(std::vector<std::string>(), LeftBehind());
}

// Installers may leave their files read-only: the entry's own go all the same, with the
// folders they leave empty; a file that another entry lists is not touched, attribute included.
TEST_F(EntryRemoval, ReadOnlyFilesGoUnlessAnotherEntryListsThem)
{
    MakeLayout(t.Path(), {"Shared\\s.dll", "Own\\Data\\o.dat"});
    for (const char* name : {"Prog\\App.exe", "Prog\\Help.txt", "Shared\\s.dll", "Own\\Data\\o.dat"})
        MakeReadOnly(t / name);
    SetList(1, "File", {"{T}\\Prog\\App.exe", "{T}\\Shared\\s.dll", "{T}\\Own\\Data\\o.dat", "{T}\\Prog\\Help.txt"});
    SetList(2, "File", {"{T}\\Shared\\s.dll"});
    App().m_leftBehind.Reset();

    dialog.RemoveEntryFiles(Entry(1).c_str());

    EXPECT_FALSE(DirectoryExists(t / "Prog"));
    EXPECT_FALSE(DirectoryExists(t / "Own"));
    ASSERT_TRUE(FileExists(t / "Shared\\s.dll"));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              ::GetFileAttributesA((t / "Shared\\s.dll").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::vector<std::string>(), LeftBehind()) << "a file kept for another entry is not left behind";
}

// Both passes note what they could not delete: a shortcut as much as a file.
TEST_F(EntryRemoval, FilesAndShortcutsInUseAreLeftBehind)
{
    MakeLayout(t.Path(), {"Prog\\Lib\\lib.dll"});
    SetList(1, "File", {"{T}\\Prog\\App.exe", "{T}\\Prog\\Lib\\lib.dll", "{T}\\Prog\\Help.txt"});
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\App.lnk", t / "Prog\\App.exe"));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\Help.lnk", t / "Prog\\Help.txt"));
    SetList(1, "Link", {"{T}\\Menu\\Korvane\\App.lnk", "{T}\\Menu\\Korvane\\Help.lnk"});
    App().m_leftBehind.Reset();
    {
        const KernelHandle library = HoldOpen(t / "Prog\\Lib\\lib.dll");
        const KernelHandle link = HoldOpen(t / "Menu\\Korvane\\Help.lnk");
        dialog.RemoveEntryLinks(Entry(1).c_str());
        dialog.RemoveEntryFiles(Entry(1).c_str());
    }

    EXPECT_EQ((std::vector<std::string>{t / "Menu\\Korvane\\Help.lnk", t / "Prog\\Lib\\lib.dll"}), LeftBehind());
    EXPECT_FALSE(FileExists(t / "Menu\\Korvane\\App.lnk"));
    EXPECT_FALSE(FileExists(t / "Prog\\App.exe"));
    EXPECT_FALSE(FileExists(t / "Prog\\Help.txt"));
    EXPECT_TRUE(FileExists(t / "Prog\\Lib\\lib.dll"));
    EXPECT_TRUE(FileExists(t / "Menu\\Korvane\\Help.lnk"));
}

// --- Values the installers may have written wrongly ---

TEST_F(EntryRemoval, MalformedValuesRemoveNothing)
{
    const std::string longValue = t / "Prog\\App.exe" + std::string(300, 'x');
    SetList(1, "File", {"", "C:", "C:\\", "\\", "{T}\\Prog\\", "{T}\\Pr*g\\App.exe", "NUL"});
    SetText(Entry(1), "File 8", longValue);
    SetText(Entry(1), "File 9", t / "Prog\\Missing.exe");
    ASSERT_TRUE(MakeShortcut(t / "Menu\\App.lnk", t / "Prog\\App.exe"));
    SetList(1, "Link", {"", "C:\\", "{T}\\Prog", "{T}\\Prog\\App.exe", "{T}\\Menu\\*.lnk"});

    dialog.RemoveEntryLinks(Entry(1).c_str());
    dialog.RemoveEntryFiles(Entry(1).c_str());

    for (const char* kept : {"keep.txt", "start\\here.txt", "Prog\\App.exe", "Prog\\Help.txt", "Menu\\App.lnk",
                             "Menu\\other.txt"})
        EXPECT_TRUE(FileExists(t / kept)) << kept;
    EXPECT_EQ("start", CurrentDirectoryBelow(t.Path()));
}

}  // namespace
