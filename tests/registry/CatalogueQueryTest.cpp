#include "registry/Catalogue.h"
#include "ui/UninstallDlg.h"

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

// A catalogue of the test's own: the dialog's product key is the test key.
class CatalogueQueryTest : public ::testing::Test {
protected:
    std::string Entry(int index) const { return m_product.Path() + "\\App" + std::to_string(index); }
    void ListFiles(int index, const std::vector<std::pair<int, std::string>>& files) const
    {
        for (const auto& [n, path] : files)
            SetText(Entry(index), ("File " + std::to_string(n)).c_str(), path);
    }
    BOOL InEntry(int index, const char* path)
    {
        return m_dialog.IsFileListedInEntry(Entry(index).c_str(), path);
    }
    BOOL ByOther(int removedIndex, const char* path)
    {
        return m_dialog.IsFileListedByOtherEntry(Entry(removedIndex).c_str(), path);
    }

    ScopedTestKey m_product;
    CUninstallDlg m_dialog{m_product.Path().c_str()};
};

TEST_F(CatalogueQueryTest, EntryKeysAreComposedWithTheIndexInDecimal)
{
    EXPECT_STREQ("K\\App0", catalogue::EntryKey("K", 0));
    EXPECT_STREQ("K\\App49", catalogue::EntryKey("K", 49));
}

TEST_F(CatalogueQueryTest, AnEntryListsItsFileValuesUpToTheFirstGap)
{
    ListFiles(1, {{1, "C:\\Prog\\A.DLL"}, {2, "C:\\Prog\\b.exe"}, {4, "C:\\Prog\\after-gap.txt"}});
    ListFiles(2, {{2, "C:\\Prog\\no-file-one.txt"}});
    const std::string cut(300, 'x');
    ListFiles(3, {{1, cut}});
    struct Case {
        int entry;
        std::string path;
        BOOL listed;
    };
    const Case cases[] = {
        {1, "C:\\Prog\\A.DLL", TRUE},
        {1, "c:\\prog\\a.dll", TRUE},              // letter case does not count
        {1, "C:/Prog/A.DLL", TRUE},                // the same file: slashes do not count
        {1, "C:\\Prog\\A.DLL ", TRUE},              // nor does a trailing blank
        {1, "C:\\Prog\\A.DLL\\x", FALSE},
        {1, "C:\\Prog\\b.exe", TRUE},
        {1, "C:\\Prog\\after-gap.txt", FALSE},     // File 3 is missing: File 4 is never read
        {2, "C:\\Prog\\no-file-one.txt", FALSE},   // no File 1: the entry lists nothing
        {9, "C:\\Prog\\A.DLL", FALSE},             // no such entry
        {3, std::string(259, 'x'), TRUE},           // only the first 259 bytes of a value count
        {3, cut, FALSE},
        {1, "", FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("App" + std::to_string(c.entry) + " " + c.path.substr(0, 40));
        EXPECT_EQ(c.listed, InEntry(c.entry, c.path.c_str()));
    }
}

TEST_F(CatalogueQueryTest, AnotherEntryFromZeroToFiftyProtectsAPath)
{
    // App1 is being removed; it lists every path itself, some twice.
    ListFiles(1, {{1, "C:\\K\\own.txt"}, {2, "C:\\K\\own.txt"}, {3, "C:\\K\\zero.txt"}, {4, "C:\\K\\fifty.txt"},
                  {5, "C:\\K\\fiftyone.txt"}, {6, "C:\\K\\unlisted.txt"}, {7, "C:\\K\\seven.txt"}});
    ListFiles(0, {{1, "C:\\K\\zero.txt"}});
    ListFiles(50, {{1, "C:\\K\\fifty.txt"}});
    ListFiles(51, {{1, "C:\\K\\fiftyone.txt"}});
    // App5 has no AppName and no Directory: never listed, yet it protects what it lists.
    ListFiles(5, {{1, "C:\\K\\unlisted.txt"}});
    // Only App2 and App7 around the gap: missing indices end nothing.
    ListFiles(7, {{1, "C:\\K\\SEVEN.TXT"}});
    struct Case {
        const char* path;
        BOOL protectedByOther;
    };
    const Case cases[] = {
        {"C:\\K\\own.txt", FALSE},        // listed twice by the entry being removed only
        {"C:\\K\\zero.txt", TRUE},        // App0 is listed and can be kept: it protects
        {"C:\\K\\fifty.txt", TRUE},       // App50 is never listed, yet consulted
        {"C:\\K\\fiftyone.txt", FALSE},   // beyond the range
        {"C:\\K\\unlisted.txt", TRUE},
        {"C:\\K\\seven.txt", TRUE},
        {"C:\\K\\nobody.txt", FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.protectedByOther, ByOther(1, c.path));
    }
}

TEST_F(CatalogueQueryTest, TheEntryBeingRemovedIsSkippedWhateverTheCaseOfItsKey)
{
    ListFiles(4, {{1, "C:\\K\\mine.txt"}});
    EXPECT_FALSE(m_dialog.IsFileListedByOtherEntry(catalogue::EntryKey(m_product.Path().c_str(), 4), "C:\\K\\mine.txt"));
    std::string upper = Entry(4);
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_FALSE(m_dialog.IsFileListedByOtherEntry(upper.c_str(), "C:\\K\\mine.txt"));
    // Seen from any other entry, App4 protects the file.
    EXPECT_TRUE(ByOther(0, "C:\\K\\mine.txt"));
}

TEST_F(CatalogueQueryTest, AnUnreadableCatalogueProtectsNothing)
{
    CUninstallDlg missing((m_product.Path() + "\\Missing").c_str());
    EXPECT_FALSE(missing.IsFileListedByOtherEntry((m_product.Path() + "\\Missing\\App1").c_str(), "C:\\K\\x.txt"));
}

}  // namespace
