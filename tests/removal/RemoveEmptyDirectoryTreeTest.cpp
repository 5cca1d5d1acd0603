#include <gtest/gtest.h>

#include "tests/removal/RemovalTestSupport.h"

using namespace removal_tests;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::FolderEntries;
using testing_support::ScopedTestDirectory;

namespace {

// Every case is laid out on top of kBaseLayout, with the current directory in {T}\start unless
// it says otherwise.
struct TreeCase {
    const char* name;
    std::vector<std::string> layout;
    const char* currentBefore;  // relative to {T}
    const char* dir;
    BOOL result;
    std::vector<std::string> gone;
    std::vector<std::string> kept;
    const char* currentAfter;
};

const TreeCase kTreeCases[] = {
    {"empty directory", {"a\\"}, "start", "{T}\\a", TRUE, {"a"}, {}, "."},
    {"nested empty tree", {"a\\b\\c\\", "a\\d\\"}, "start", "{T}\\a", TRUE, {"a"}, {}, "."},
    {"file directly inside", {"a\\f.txt"}, "start", "{T}\\a", FALSE, {}, {"a\\f.txt"}, "start"},
    {"missing directory", {}, "start", "{T}\\missing", FALSE, {}, {}, "."},
    {"forward slashes", {"a\\b\\"}, "start", "{T}/a/b", TRUE, {"a\\b"}, {"a"}, "a"},
    {"relative name", {"a\\"}, ".", "a", TRUE, {"a"}, {}, "."},
    // The removal of b moves the current directory into a, and the relative name is then
    // resolved from there: a\a does not exist, so a stays.
    {"relative name, resolved after the move", {"a\\b\\"}, ".", "a", FALSE, {"a\\b"}, {"a"}, "a"},
    {"the current directory itself", {"a\\b\\"}, "a\\b", "{T}\\a", TRUE, {"a"}, {}, "."},
};

TEST(RemoveEmptyDirectoryTree, Cases)
{
    for (const TreeCase& c : kTreeCases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory t;
        ASSERT_NO_FATAL_FAILURE(LayOut(t, c.layout, c.currentBefore));

        EXPECT_EQ(c.result, App().RemoveEmptyDirectoryTree(Expand(c.dir, t.Path()).c_str()));

        ExpectGoneAndKept(t, c.gone, c.kept);
        EXPECT_TRUE(FileExists(t / "keep.txt"));
        EXPECT_EQ(c.currentAfter, CurrentDirectoryBelow(t.Path()));
    }
}

TEST(RemoveEmptyDirectoryTree, EmptyPathDoesNothing)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {}));

    EXPECT_FALSE(App().RemoveEmptyDirectoryTree(""));
    EXPECT_EQ("start", CurrentDirectoryBelow(t.Path()));
}

// A file three levels down keeps its whole branch; an empty sibling goes only if the search
// yields it before the branch with the file: the removal is not atomic.
TEST(RemoveEmptyDirectoryTree, FileDeepDownStopsAtOnce)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\b\\c\\f.txt", "a\\e\\"}));
    const std::vector<std::string> order = FolderEntries(t / "a");
    ASSERT_EQ(2u, order.size());
    const bool siblingFirst = order[0] == "e";

    EXPECT_FALSE(App().RemoveEmptyDirectoryTree((t / "a").c_str()));

    EXPECT_TRUE(FileExists(t / "a\\b\\c\\f.txt"));
    EXPECT_EQ(!siblingFirst, DirectoryExists(t / "a\\e"));
    // The removal of the sibling moved the current directory to a; nothing else moved it.
    EXPECT_EQ(siblingFirst ? "a" : "start", CurrentDirectoryBelow(t.Path()));
}

// No attribute is changed: a read-only file stays and keeps its directory.
TEST(RemoveEmptyDirectoryTree, ReadOnlyFileStays)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\b\\r.txt"}));
    MakeReadOnly(t / "a\\b\\r.txt");

    EXPECT_FALSE(App().RemoveEmptyDirectoryTree((t / "a").c_str()));
    EXPECT_TRUE(FileExists(t / "a\\b\\r.txt"));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY, ::GetFileAttributesA((t / "a\\b\\r.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("start", CurrentDirectoryBelow(t.Path()));
}

}  // namespace
