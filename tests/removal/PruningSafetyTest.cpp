// What the pruning must never reach: beyond the top of a volume, behind a directory link,
// or anywhere a malformed catalogue value might point.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/removal/RemovalTestSupport.h"
#include "tests/removal/UnixLinks.h"

using namespace removal_tests;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::ScopedDirectoryLink;
using testing_support::ScopedNetworkServer;
using testing_support::ScopedTestDirectory;

namespace {

// A uniquely named file directly in the root of drive C, deleted again in any case.
class ScopedRootFile {
public:
    explicit ScopedRootFile(const char* tag)
        : m_path("C:\\korvane-" + testing_support::CurrentTestName() + "-" +
                 std::to_string(::GetCurrentProcessId()) + "-" + tag + ".txt")
    {
        testing_support::WriteTextFile(m_path);
    }
    ~ScopedRootFile() { testing_support::RemoveTree(m_path); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// After a file directly in a drive root, the parent would be the bare "C:", which names the
// drive's current directory: the walk must stop there.
TEST(PruningSafety, FileInDriveRootRemovesNothingElse)
{
    ScopedTestDirectory t;  // restores the current directory
    MakeLayout(t.Path(), {"keep.txt", "current\\"});
    ASSERT_TRUE(::SetCurrentDirectoryA((t / "current").c_str()));
    ScopedRootFile file("f");

    App().DeletePathAndPruneParents(file.Path().c_str());

    EXPECT_FALSE(FileExists(file.Path()));
    EXPECT_TRUE(DirectoryExists(t / "current"));
    EXPECT_EQ("current", CurrentDirectoryBelow(t.Path()));
}

// A share root is the top of its volume: the walk never searches it, so neither it nor an
// empty folder in it is removed.
TEST(PruningSafety, WalkStopsBelowTheShareRoot)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"share\\a\\f.txt", "share\\e\\"}));
    const std::string server = "korvane" + std::to_string(::GetCurrentProcessId());
    ScopedNetworkServer network(server, t.Path());
    ASSERT_TRUE(network.IsValid());
    const std::string share = "\\\\" + server + "\\share";
    ASSERT_TRUE(FileExists(share + "\\a\\f.txt"));

    App().DeletePathAndPruneParents((share + "\\a\\f.txt").c_str());

    EXPECT_FALSE(DirectoryExists(t / "share\\a"));
    EXPECT_TRUE(DirectoryExists(t / "share\\e"));
    EXPECT_TRUE(DirectoryExists(t / "share"));
}

// A wildcard pattern directly in a drive root is refused whole.
TEST(PruningSafety, PatternInDriveRootIsRefused)
{
    ScopedTestDirectory t;
    ScopedRootFile file("w");
    const std::string pattern = file.Path().substr(0, file.Path().size() - 5) + "*.txt";

    App().DeletePathAndPruneParents(pattern.c_str());

    EXPECT_TRUE(FileExists(file.Path()));
}

// Links to directories are never followed: the tree removal treats a link like a file, so
// what lies behind it stays, and so do the link and the folder that holds it.
class DirectoryLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LayOut(t, {"target\\inner\\", "a\\"}));
        link = std::make_unique<ScopedDirectoryLink>(t / "a\\link", t / "target");
        ASSERT_TRUE(link->IsValid());
        // Made with a Unix tool: check that the platform reports it as a directory link.
        const DWORD attributes = ::GetFileAttributesA((t / "a\\link").c_str());
        ASSERT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
                  attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        ASSERT_TRUE(DirectoryExists(t / "a\\link\\inner"));
    }
    void TearDown() override { link.reset(); }

    void ExpectNothingRemoved()
    {
        EXPECT_TRUE(DirectoryExists(t / "target\\inner"));
        EXPECT_TRUE(DirectoryExists(t / "a\\link"));
        EXPECT_TRUE(DirectoryExists(t / "a"));
        EXPECT_EQ("start", CurrentDirectoryBelow(t.Path()));
    }

    ScopedTestDirectory t;
    std::unique_ptr<ScopedDirectoryLink> link;
};

TEST_F(DirectoryLinks, TreeRemovalStopsAtALink)
{
    EXPECT_FALSE(App().RemoveEmptyDirectoryTree((t / "a").c_str()));
    ExpectNothingRemoved();
}

TEST_F(DirectoryLinks, LinkNamedDirectlyStays)
{
    App().DeletePathAndPruneParents((t / "a\\link").c_str());
    ExpectNothingRemoved();
}

TEST_F(DirectoryLinks, WalkStopsAtALinkOnTheWay)
{
    testing_support::WriteTextFile(t / "target\\f.txt");

    App().DeletePathAndPruneParents((t / "a\\link\\f.txt").c_str());

    EXPECT_FALSE(FileExists(t / "target\\f.txt"));
    ExpectNothingRemoved();
}

// Catalogue values are whatever the installers wrote. None of these may remove anything of
// the folder, nor move the current directory.
struct BadInputCase {
    const char* name;
    const char* path;
};

const BadInputCase kBadInputCases[] = {
    {"empty", ""},
    {"bare drive designator", "C:"},
    {"drive root", "C:\\"},
    {"drive root, forward slash", "C:/"},
    {"drive root, dot", "C:\\."},
    {"root of the current drive", "\\"},
    {"forward-slash root", "/"},
    {"device form of a drive root", "\\\\?\\C:\\"},
    {"device form of a bare drive", "\\\\.\\C:"},
    {"trailing separator", "{T}\\a\\"},
    {"file with trailing separator", "{T}\\a\\f.txt\\"},
    {"wildcard in a folder name", "{T}\\*\\f.txt"},
    {"characters no name may hold", "{T}\\a\\<|>\""},
    {"device name", "NUL"},
    {"device name in a folder", "{T}\\a\\CON"},
    {"current directory holding a file", "."},
    {"parent of the current directory", ".."},
    {"longer than the search allows",
     "{T}\\a\\xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
    {"dot parts past the root", "{T}\\..\\..\\..\\..\\..\\..\\..\\..\\.."},
};

TEST(PruningSafety, BadCatalogueValuesRemoveNothing)
{
    for (const BadInputCase& c : kBadInputCases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory t;
        // Files everywhere and no empty folder, so that only an error could remove anything.
        ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\f.txt"}));

        App().DeletePathAndPruneParents(Expand(c.path, t.Path()).c_str());

        ExpectGoneAndKept(t, {}, {"keep.txt", "a\\f.txt", "start\\here.txt"});
        EXPECT_EQ("start", CurrentDirectoryBelow(t.Path()));
    }
}

}  // namespace
