// A file that a remaining entry lists stays, however the entries spell it: the removal decides
// by the file that a path names, and a pattern lists what it matches. Every case runs through
// the passes that read each value when they need it and through the removal on one read.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/removal/RemovalTestSupport.h"
#include "tests/support/Shortcut.h"
#include "ui/UninstallDlg.h"

using namespace removal_tests;
using testing_support::DeleteTree;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::MakeShortcut;
using testing_support::ScopedTestDirectory;
using testing_support::ScopedTestKey;
using testing_support::SetText;
using testing_support::WriteTextFile;

namespace {

enum class Way { PerValue, OneRead };

class SharedFile : public ::testing::TestWithParam<Way> {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(LayOut(t, {"Korvane\\Shared\\other.txt"})); }

    std::string Entry(int index) const { return product.Path() + "\\App" + std::to_string(index); }
    // Writes Name 1, Name 2, ... of an entry.
    void SetList(int index, const char* name, const std::vector<std::string>& values)
    {
        for (size_t i = 0; i < values.size(); ++i)
            SetText(Entry(index), (std::string(name) + " " + std::to_string(i + 1)).c_str(), values[i]);
    }
    // One entry's removal, then its catalogue entry, as the Remove command does.
    void Remove(int index)
    {
        if (GetParam() == Way::PerValue) {
            dialog.RemoveEntryLinks(Entry(index).c_str());
            dialog.RemoveEntryFiles(Entry(index).c_str());
        } else {
            dialog.RemoveEntry(Entry(index).c_str());
        }
        DeleteTree(Entry(index));
    }

    ScopedTestKey product;
    ScopedTestDirectory t;
    CUninstallDlg dialog{CString(product.Path().c_str())};
};

std::string Replaced(std::string text, char from, char to)
{
    for (char& c : text)
        if (c == from)
            c = to;
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ShortPath(const std::string& path)
{
    char buffer[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return length != 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

struct Spelling {
    const char* name;
    // From the folder that holds the file, the file's name and the file's plain path.
    std::function<std::string(const std::string& folder, const std::string& name, const std::string& plain)> spell;
};

const Spelling kSpellings[] = {
    {"forward slashes", [](auto&, auto&, auto& plain) { return Replaced(plain, '\\', '/'); }},
    {"doubled separator", [](auto& folder, auto& name, auto&) { return folder + "\\\\" + name; }},
    {"dot part", [](auto& folder, auto& name, auto&) { return folder + "\\.\\" + name; }},
    {"dot-dot part", [](auto& folder, auto& name, auto&) { return folder + "\\sub\\..\\" + name; }},
    {"trailing dot", [](auto&, auto&, auto& plain) { return plain + "."; }},
    {"trailing blank", [](auto&, auto&, auto& plain) { return plain + " "; }},
    {"upper case", [](auto&, auto&, auto& plain) { return Upper(plain); }},
    {"8.3 short name", [](auto&, auto&, auto& plain) { return ShortPath(plain); }},
    {"\\\\?\\ prefix", [](auto&, auto&, auto& plain) { return "\\\\?\\" + plain; }},
};

// Entry 1 is removed, entry 2 stays; each lists the shared file in its own spelling.
TEST_P(SharedFile, StaysHoweverEitherEntrySpellsIt)
{
    const std::string folder = t / "Korvane\\Shared";
    const std::string name = "Korvane Shared Library.dll";
    const std::string plain = folder + "\\" + name;
    for (const Spelling& s : kSpellings) {
        WriteTextFile(plain);
        const std::string spelled = s.spell(folder, name, plain);
        SCOPED_TRACE(std::string(s.name) + ": " + spelled);
        ASSERT_NE(std::string::npos, ShortPath(plain).find('~'));

        DeleteTree(Entry(2));
        SetList(1, "File", {plain});
        SetList(2, "File", {t / "Other\\own.exe", spelled});
        Remove(1);
        EXPECT_TRUE(FileExists(plain)) << "removed entry plain, remaining entry spelled";

        DeleteTree(Entry(2));
        SetList(1, "File", {spelled});
        SetList(2, "File", {plain});
        Remove(1);
        EXPECT_TRUE(FileExists(plain)) << "removed entry spelled, remaining entry plain";

        // Listed by the removed entry alone, in that spelling, it goes.
        DeleteTree(Entry(2));
        SetList(1, "File", {spelled});
        Remove(1);
        EXPECT_FALSE(FileExists(plain)) << "listed by the removed entry alone";
    }
    EXPECT_TRUE(FileExists(folder + "\\other.txt"));
}

TEST_P(SharedFile, PatternOfTheRemovedEntryKeepsTheMatchesOthersList)
{
    MakeLayout(t.Path(), {"Korvane\\Shared\\a.dll", "Korvane\\Shared\\b.dll", "Korvane\\Shared\\common.dll",
                          "Korvane\\Plugins\\p.dll", "Korvane\\Plugins\\q.dll"});
    SetList(1, "File", {t / "Korvane\\Shared\\*.dll", t / "Korvane\\Plugins\\*.dll"});
    // Entry 0 lists one match in another spelling; entry 50 lists the other folder's match.
    SetList(0, "File", {t.Path() + "/korvane/shared/COMMON.DLL"});
    SetList(50, "File", {t / "Korvane\\Plugins\\.\\q.dll"});

    Remove(1);

    ExpectGoneAndKept(t, {"Korvane\\Shared\\a.dll", "Korvane\\Shared\\b.dll", "Korvane\\Plugins\\p.dll"},
                      {"Korvane\\Shared\\common.dll", "Korvane\\Shared\\other.txt", "Korvane\\Plugins\\q.dll"});
}

TEST_P(SharedFile, PatternOfTheRemovedEntryMatchesProtectedByPatternsAndFolders)
{
    MakeLayout(t.Path(), {"Korvane\\Shared\\a.dll", "Korvane\\Shared\\Sub\\", "Korvane\\Bin\\x.exe"});
    SetList(1, "File", {t / "Korvane\\Shared\\*", t / "Korvane\\Bin\\*.exe"});
    // Entry 2 lists the same pattern in another spelling; entry 3 lists the empty folder.
    SetList(2, "File", {t.Path() + "\\Korvane\\\\Bin\\*.EXE"});
    SetList(3, "File", {t / "Korvane\\Shared\\Sub"});

    Remove(1);

    ExpectGoneAndKept(t, {"Korvane\\Shared\\a.dll", "Korvane\\Shared\\other.txt"},
                      {"Korvane\\Shared\\Sub", "Korvane\\Bin\\x.exe"});
}

TEST_P(SharedFile, PatternOfARemainingEntryProtectsItsMatches)
{
    MakeLayout(t.Path(), {"Korvane\\Shared\\common.dll", "Korvane\\Shared\\readme.txt", "Korvane\\Own\\own.dll"});
    SetList(1, "File", {t / "Korvane\\Shared\\common.dll", t / "Korvane\\Shared\\readme.txt",
                        t / "Korvane\\Own\\own.dll"});
    SetList(2, "File", {t.Path() + "/Korvane/Shared/*.dll"});
    // A pattern after a gap lists nothing; a pattern of entry 51 protects nothing.
    SetText(Entry(3), "File 2", t / "Korvane\\Shared\\*.txt");
    SetList(51, "File", {t / "Korvane\\Own\\*.dll"});

    Remove(1);

    ExpectGoneAndKept(t, {"Korvane\\Shared\\readme.txt", "Korvane\\Own"}, {"Korvane\\Shared\\common.dll"});
}

// The shortcut check compares its target by the file it names, and a shortcut that another
// entry lists stays with it.
TEST_P(SharedFile, ShortcutsGoByTheFileTheyNameAndStayWhenSharedListed)
{
    MakeLayout(t.Path(), {"Korvane\\App\\Main Program.exe", "Korvane\\App\\tool.exe"});
    const std::string main = t / "Korvane\\App\\Main Program.exe";
    const std::string tool = t / "Korvane\\App\\tool.exe";
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Main.lnk", main));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Tool.lnk", tool));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Shared.lnk", main));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Listed.lnk", main));
    SetList(1, "File", {ShortPath(main), t.Path() + "/Korvane/App/*.exe"});
    SetList(1, "Link", {t / "Menu\\Main.lnk", t / "Menu\\Tool.lnk", t / "Menu\\Shared.lnk", t / "Menu\\Listed.lnk"});
    // Entry 2 lists one shortcut as its own, in another spelling, and one among its files.
    SetList(2, "Link", {t.Path() + "\\MENU\\\\shared.lnk"});
    SetList(2, "File", {t / "Menu\\.\\Listed.lnk"});

    Remove(1);

    ExpectGoneAndKept(t, {"Menu\\Main.lnk", "Menu\\Tool.lnk"}, {"Menu\\Shared.lnk", "Menu\\Listed.lnk"});
}

INSTANTIATE_TEST_SUITE_P(BothWays, SharedFile, ::testing::Values(Way::PerValue, Way::OneRead),
                         [](const ::testing::TestParamInfo<Way>& info) {
                             return info.param == Way::PerValue ? "PerValue" : "OneRead";
                         });

}  // namespace
