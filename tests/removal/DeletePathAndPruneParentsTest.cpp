#include <gtest/gtest.h>

#include "tests/removal/RemovalTestSupport.h"

using namespace removal_tests;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::FolderEntries;
using testing_support::ScopedTestDirectory;

namespace {

// Every case is laid out on top of kBaseLayout, with the current directory in {T}\start unless
// it says otherwise. {R} is {T} without its drive: the same folder, relative to the current
// drive's root.
struct PruneCase {
    const char* name;
    std::vector<std::string> layout;
    const char* currentBefore;  // relative to {T}
    const char* path;
    std::vector<std::string> gone;
    std::vector<std::string> kept;
    const char* currentAfter;
};

const PruneCase kPruneCases[] = {
    {"only file of a two-level tree", {"a\\b\\f.txt"}, "start", "{T}\\a\\b\\f.txt", {"a"}, {}, "."},
    {"sibling file keeps the parent", {"a\\g.txt", "a\\b\\f.txt"}, "start", "{T}\\a\\b\\f.txt",
     {"a\\b"}, {"a\\g.txt"}, "a"},
    {"nothing matched", {"a\\f.txt"}, "start", "{T}\\a\\nothing.txt", {}, {"a\\f.txt"}, "start"},
    {"missing directory on the way", {"a\\f.txt"}, "start", "{T}\\missing\\f.txt", {}, {"a\\f.txt"}, "start"},
    {"directory holding a file", {"a\\b\\f.txt"}, "start", "{T}\\a\\b", {}, {"a\\b\\f.txt"}, "start"},
    {"file-free directory", {"a\\b\\c\\", "a\\b\\d\\"}, "start", "{T}\\a\\b", {"a"}, {}, "."},
    {"file-free directory, parent keeps a file", {"a\\b\\c\\", "a\\g.txt"}, "start", "{T}\\a\\b",
     {"a\\b"}, {"a\\g.txt"}, "a"},
    {"every .log file", {"a\\x.log", "a\\y.log", "a\\e\\"}, "start", "{T}\\a\\*.log", {"a"}, {}, "."},
    {"pattern leaves other files", {"a\\x.log", "a\\y.log", "a\\z.txt"}, "start", "{T}\\a\\*.log",
     {"a\\x.log", "a\\y.log"}, {"a\\z.txt"}, "start"},
    {"forward slashes", {"a\\b\\f.txt"}, "start", "{T}/a/b/f.txt", {"a"}, {}, "."},
    {"mixed separators", {"a\\g.txt", "a\\b\\f.txt"}, "start", "{T}\\a/b\\f.txt", {"a\\b"}, {"a\\g.txt"}, "a"},
    // A path that is not absolute names whatever the current directory holds: never deleted,
    // even where it names the very file.
    {"relative name", {"a\\b\\f.txt"}, "a\\b", "f.txt", {}, {"a\\b\\f.txt"}, "a\\b"},
    {"relative name with a folder", {"a\\b\\f.txt"}, ".", "a\\b\\f.txt", {}, {"a\\b\\f.txt"}, "."},
    {"relative name upward", {"a\\b\\f.txt", "a\\c\\g.txt"}, "a\\c", "..\\b\\f.txt", {},
     {"a\\b\\f.txt", "a\\c\\g.txt"}, "a\\c"},
    {"relative to the current drive's root", {"a\\b\\f.txt"}, "start", "{R}\\a\\b\\f.txt", {},
     {"a\\b\\f.txt"}, "start"},
    {"relative to a drive's current directory", {"a\\b\\f.txt"}, "a\\b", "C:f.txt", {}, {"a\\b\\f.txt"},
     "a\\b"},
    // The device forms end the walk where the plain form ends it.
    {"device form", {"a\\b\\f.txt"}, "start", "\\\\?\\{T}\\a\\b\\f.txt", {"a"}, {}, "."},
    {"device form with a dot", {"a\\b\\f.txt"}, "start", "\\\\.\\{T}\\a\\b\\f.txt", {"a"}, {}, "."},
    // The "." and ".." matches of a pattern are skipped: they would hand the directory
    // itself and its parent to the tree removal.
    {"pattern matching only the dot entries", {"a\\b\\"}, "start", "{T}\\a\\.*", {}, {"a\\b"}, "start"},
};

TEST(DeletePathAndPruneParents, Cases)
{
    for (const PruneCase& c : kPruneCases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory t;
        ASSERT_NO_FATAL_FAILURE(LayOut(t, c.layout, c.currentBefore));

        std::string path = c.path;
        if (path.compare(0, 3, "{R}") == 0)
            path.replace(0, 3, t.Path().substr(2));
        App().DeletePathAndPruneParents(Expand(path, t.Path()).c_str());

        ExpectGoneAndKept(t, c.gone, c.kept);
        EXPECT_TRUE(FileExists(t / "keep.txt"));
        EXPECT_TRUE(FileExists(t / "start\\here.txt"));
        EXPECT_EQ(c.currentAfter, CurrentDirectoryBelow(t.Path()));
    }
}

// Only the last match decides whether the walk starts.
TEST(DeletePathAndPruneParents, LastMatchThatCannotGoStopsTheWalk)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\x.log", "a\\y.log", "a\\e1\\", "a\\e2\\", "a\\e3\\", "a\\e4\\"}));
    const std::vector<std::string> logs = FolderEntries(t / "a", "*.log");
    ASSERT_EQ(2u, logs.size());
    const KernelHandle inUse = HoldOpen(t / "a" + "\\" + logs[1]);
    // A walk would search a and remove the empty folders yielded before the file in use.
    const std::vector<std::string> all = FolderEntries(t / "a");
    ASSERT_NE(logs[1], all[0]) << "an empty folder must precede the file in use";

    App().DeletePathAndPruneParents((t / "a\\*.log").c_str());

    EXPECT_FALSE(FileExists(t / "a" + "\\" + logs[0]));
    EXPECT_TRUE(FileExists(t / "a" + "\\" + logs[1]));
    for (const char* folder : {"a\\e1", "a\\e2", "a\\e3", "a\\e4"})
        EXPECT_TRUE(DirectoryExists(t / folder)) << folder;
    EXPECT_EQ("start", CurrentDirectoryBelow(t.Path()));
}

TEST(DeletePathAndPruneParents, FirstMatchThatCannotGoLetsTheWalkStart)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\x.log", "a\\y.log", "a\\e1\\"}));
    const std::vector<std::string> logs = FolderEntries(t / "a", "*.log");
    ASSERT_EQ(2u, logs.size());
    KernelHandle inUse = HoldOpen(t / "a" + "\\" + logs[0]);
    const std::vector<std::string> all = FolderEntries(t / "a");
    const bool folderBeforeFile = all[0] == "e1" || (all[1] == "e1" && all[0] != logs[0]);

    App().DeletePathAndPruneParents((t / "a\\*.log").c_str());
    inUse.Reset();

    EXPECT_TRUE(FileExists(t / "a" + "\\" + logs[0]));
    EXPECT_FALSE(FileExists(t / "a" + "\\" + logs[1]));
    // The walk searched a: its empty folder went only if yielded before the file in use.
    EXPECT_EQ(!folderBeforeFile, DirectoryExists(t / "a\\e1"));
    EXPECT_EQ(folderBeforeFile ? "a" : "start", CurrentDirectoryBelow(t.Path()));
}

// A match that the caller keeps stays and counts like one that could not be deleted: kept as
// the last match, it stops the walk; the other matches go. The caller is asked with each
// match's full path.
TEST(DeletePathAndPruneParents, KeptLastMatchStaysAndStopsTheWalk)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\x.log", "a\\y.log", "a\\z.log", "a\\e1\\", "a\\e2\\", "a\\e3\\"}));
    const std::vector<std::string> logs = FolderEntries(t / "a", "*.log");
    ASSERT_EQ(3u, logs.size());
    const std::vector<std::string> all = FolderEntries(t / "a");
    ASSERT_NE(logs[2], all[0]) << "an empty folder must precede the kept file";
    const std::string kept = t / "a" + "\\" + logs[2];
    std::vector<std::string> asked;

    App().DeletePathAndPruneParents((t.Path() + "/a/*.log").c_str(), [&](const CString& match) {
        asked.push_back(match.GetString());
        return lstrcmpiA(match, kept.c_str()) == 0;
    });

    EXPECT_EQ((std::vector<std::string>{t / "a" + "\\" + logs[0], t / "a" + "\\" + logs[1], kept}), asked);
    EXPECT_FALSE(FileExists(t / "a" + "\\" + logs[0]));
    EXPECT_FALSE(FileExists(t / "a" + "\\" + logs[1]));
    EXPECT_TRUE(FileExists(kept));
    for (const char* folder : {"a\\e1", "a\\e2", "a\\e3"})
        EXPECT_TRUE(DirectoryExists(t / folder)) << folder;
    EXPECT_EQ("start", CurrentDirectoryBelow(t.Path()));
}

// Files that resist deletion: a read-only file is made writable and goes; a file in use
// stays as it was, is noted as left behind and ends the walk. Nothing but a file that was
// tried and stayed is noted.
struct ResistingCase {
    const char* name;
    std::vector<std::string> layout;
    std::vector<std::pair<std::string, DWORD>> attributes;  // set before the call
    std::vector<std::string> inUse;                          // held open during the call
    const char* path;
    std::vector<std::string> gone;
    std::vector<std::string> kept;
    std::vector<std::string> leftBehind;
    const char* currentAfter;
};

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD kReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

const ResistingCase kResistingCases[] = {
    {"read-only file goes with its emptied folders", {"a\\b\\r.txt"}, {{"a\\b\\r.txt", kReadOnly}}, {},
     "{T}\\a\\b\\r.txt", {"a"}, {}, {}, "."},
    {"read-only and hidden file goes", {"a\\g.txt", "a\\r.txt"}, {{"a\\r.txt", kReadOnlyHidden}}, {},
     "{T}\\a\\r.txt", {"a\\r.txt"}, {"a\\g.txt"}, {}, "start"},
    {"read-only matches of a pattern go", {"a\\x.log", "a\\y.log"}, {{"a\\x.log", kReadOnly}, {"a\\y.log", kReadOnly}},
     {}, "{T}\\a\\*.log", {"a"}, {}, {}, "."},
    {"file in use stays and ends the walk", {"a\\b\\f.txt"}, {}, {"a\\b\\f.txt"}, "{T}\\a\\b\\f.txt", {},
     {"a\\b\\f.txt"}, {"a\\b\\f.txt"}, "start"},
    {"read-only file in use stays", {"a\\r.txt"}, {{"a\\r.txt", kReadOnlyHidden}}, {"a\\r.txt"}, "{T}\\a\\r.txt", {},
     {"a\\r.txt"}, {"a\\r.txt"}, "start"},
    {"match in use among others", {"a\\x.log", "a\\y.log", "a\\z.log"}, {}, {"a\\y.log"}, "{T}\\a\\*.log",
     {"a\\x.log", "a\\z.log"}, {"a\\y.log"}, {"a\\y.log"}, nullptr},
    {"folder holding a file is no file left behind", {"a\\b\\f.txt"}, {}, {}, "{T}\\a\\b", {}, {"a\\b\\f.txt"},
     {}, "start"},
    {"folder holding a file in use", {"a\\b\\f.txt"}, {}, {"a\\b\\f.txt"}, "{T}\\a\\b", {}, {"a\\b\\f.txt"},
     {}, "start"},
    {"nothing matched", {"a\\f.txt"}, {}, {}, "{T}\\a\\missing.txt", {}, {"a\\f.txt"}, {}, "start"},
};

TEST(DeletePathAndPruneParents, FilesThatResistDeletion)
{
    for (const ResistingCase& c : kResistingCases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory t;
        ASSERT_NO_FATAL_FAILURE(LayOut(t, c.layout));
        for (const auto& [name, attributes] : c.attributes)
            ASSERT_TRUE(::SetFileAttributesA((t / name).c_str(), attributes)) << name;
        std::vector<KernelHandle> held;
        for (const std::string& name : c.inUse)
            held.push_back(HoldOpen(t / name));
        App().m_leftBehind.Reset();

        App().DeletePathAndPruneParents(Expand(c.path, t.Path()).c_str());
        held.clear();

        ExpectGoneAndKept(t, c.gone, c.kept);
        std::vector<std::string> expectedLeftBehind;
        for (const std::string& name : c.leftBehind)
            expectedLeftBehind.push_back(t / name);
        EXPECT_EQ(expectedLeftBehind, LeftBehind());
        // What stays keeps its attributes, read-only included.
        for (const auto& [name, attributes] : c.attributes) {
            if (FileExists(t / name))
                EXPECT_EQ(attributes, ::GetFileAttributesA((t / name).c_str()) & kReadOnlyHidden) << name;
        }
        if (c.currentAfter)
            EXPECT_EQ(c.currentAfter, CurrentDirectoryBelow(t.Path()));
    }
}

// The record keeps what every deletion left behind until it is reset.
TEST(DeletePathAndPruneParents, LeftBehindFilesAddUpUntilReset)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\f.txt", "b\\g.txt", "c\\h.txt"}));
    App().m_leftBehind.Reset();
    {
        const KernelHandle f = HoldOpen(t / "a\\f.txt");
        const KernelHandle g = HoldOpen(t / "b\\g.txt");
        App().DeletePathAndPruneParents((t / "a\\f.txt").c_str());
        App().DeletePathAndPruneParents((t / "c\\h.txt").c_str());
        App().DeletePathAndPruneParents((t / "b\\g.txt").c_str());
    }
    EXPECT_EQ((std::vector<std::string>{t / "a\\f.txt", t / "b\\g.txt"}), LeftBehind());

    App().m_leftBehind.Reset();
    EXPECT_TRUE(App().m_leftBehind.IsEmpty());
    App().DeletePathAndPruneParents((t / "a\\f.txt").c_str());
    EXPECT_TRUE(App().m_leftBehind.IsEmpty()) << "the file could go once nobody held it";
    EXPECT_FALSE(FileExists(t / "a\\f.txt"));
}

// The current directory that an earlier walk left behind gives a later relative path no
// meaning: nothing in it is deleted.
TEST(DeletePathAndPruneParents, LaterRelativePathIsNotResolvedAgainstTheMovedCurrentDirectory)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"a\\g.txt", "a\\b\\f.txt", "start\\g.txt"}));

    App().DeletePathAndPruneParents((t / "a\\b\\f.txt").c_str());
    ASSERT_EQ("a", CurrentDirectoryBelow(t.Path()));
    App().DeletePathAndPruneParents("g.txt");

    EXPECT_TRUE(FileExists(t / "a\\g.txt"));
    EXPECT_TRUE(FileExists(t / "start\\g.txt"));
    EXPECT_EQ("a", CurrentDirectoryBelow(t.Path()));
}

}  // namespace
