#include "framework/FileFind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/TestEnvironment.h"

using testing_support::ScopedTestDirectory;
using testing_support::WriteTextFile;

namespace {

struct Match {
    std::string path;
    bool dots;
    bool directory;
    bool operator<(const Match& other) const { return path < other.path; }
    bool operator==(const Match& other) const
    {
        return path == other.path && dots == other.dots && directory == other.directory;
    }
};

// Runs the loop protocol over a pattern and collects every match, sorted.
std::vector<Match> Collect(const std::string& pattern)
{
    std::vector<Match> matches;
    CFileFind find;
    BOOL more = find.FindFile(pattern.c_str());
    while (more) {
        more = find.FindNextFile();
        matches.push_back({std::string(find.GetFilePath()), find.IsDots() != FALSE,
                           find.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) != FALSE});
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

TEST(FileFind, LoopProtocolYieldsEveryEntryOnce)
{
    ScopedTestDirectory t;
    WriteTextFile(t / "a.txt");
    WriteTextFile(t / "b.log");
    testing_support::MakeDirectories(t / "sub");

    const std::vector<Match> expected = {
        {t / ".", true, true},       {t / "..", true, true},    {t / "a.txt", false, false},
        {t / "b.log", false, false}, {t / "sub", false, true},
    };
    EXPECT_EQ(expected, Collect(t / "*.*"));
}

TEST(FileFind, FirstCallMakesTheFirstMatchCurrent)
{
    ScopedTestDirectory t;
    WriteTextFile(t / "only.txt");

    CFileFind find;
    ASSERT_TRUE(find.FindFile((t / "only.txt").c_str()));
    // The single match becomes current, and no further one follows.
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ(t / "only.txt", std::string(find.GetFilePath()));
    EXPECT_STREQ("only.txt", find.GetFileName());
    EXPECT_FALSE(find.MatchesMask(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(find.IsDots());
    // The search is over; asking again changes nothing.
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ(t / "only.txt", std::string(find.GetFilePath()));
}

TEST(FileFind, TwoMatchesReportOneMoreAfterTheFirst)
{
    ScopedTestDirectory t;
    WriteTextFile(t / "x.log");
    WriteTextFile(t / "y.log");

    CFileFind find;
    ASSERT_TRUE(find.FindFile((t / "*.log").c_str()));
    EXPECT_TRUE(find.FindNextFile());
    const std::string first(find.GetFilePath());
    EXPECT_FALSE(find.FindNextFile());
    const std::string second(find.GetFilePath());
    EXPECT_NE(first, second);
}

// The full path hangs off the absolute form of the pattern, with backslashes.
struct PathCase {
    const char* name;
    const char* pattern;        // "{T}" is the test folder
    const char* currentFolder;  // relative to {T}, for relative patterns
    const char* expected;       // relative to {T}
};

const PathCase kPathCases[] = {
    {"plain path", "{T}\\a.txt", ".", "a.txt"},
    {"forward slashes", "{T}/sub/c.txt", ".", "sub\\c.txt"},
    {"pattern with both separators", "{T}\\sub/c.*", ".", "sub\\c.txt"},
    {"relative name", "a.txt", ".", "a.txt"},
    {"relative with a folder", "sub\\c.txt", ".", "sub\\c.txt"},
    {"relative upward", "..\\a.txt", "sub", "a.txt"},
    {"dot parts", "{T}\\sub\\..\\a.txt", ".", "a.txt"},
};

TEST(FileFind, FilePathIsBuiltFromTheAbsolutePattern)
{
    for (const PathCase& c : kPathCases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory t;
        WriteTextFile(t / "a.txt");
        WriteTextFile(t / "sub\\c.txt");
        ASSERT_TRUE(::SetCurrentDirectoryA((t / c.currentFolder).c_str()));

        std::string pattern = c.pattern;
        if (pattern.compare(0, 3, "{T}") == 0)
            pattern = t.Path() + pattern.substr(3);
        const std::vector<Match> matches = Collect(pattern);
        ASSERT_EQ(1u, matches.size());
        EXPECT_EQ(t / c.expected, matches[0].path);
    }
}

TEST(FileFind, FileInADriveRootGetsOneBackslash)
{
    const std::string name = "korvane-" + testing_support::CurrentTestName() + "-" +
                             std::to_string(::GetCurrentProcessId()) + ".txt";
    const std::string path = "C:\\" + name;
    WriteTextFile(path);
    const std::vector<Match> matches = Collect("C:/" + name);
    testing_support::RemoveTree(path);
    ASSERT_EQ(1u, matches.size());
    EXPECT_EQ(path, matches[0].path);
}

TEST(FileFind, NothingFound)
{
    ScopedTestDirectory t;
    WriteTextFile(t / "a.txt");
    for (const std::string& pattern : {t / "missing.txt", t / "missing\\*.*", t / "*.none", std::string()}) {
        SCOPED_TRACE(pattern);
        CFileFind find;
        EXPECT_FALSE(find.FindFile(pattern.c_str()));
        EXPECT_FALSE(find.FindNextFile());
    }
}

// The search is refused when the absolute form of the pattern exceeds 259 characters, even
// where the platform would find the entry through the shorter relative form.
TEST(FileFind, AbsoluteFormMustFitInMaxPath)
{
    ScopedTestDirectory t;
    // A folder whose path leaves room for a name of a chosen length.
    std::string folder = t / std::string(200 - t.Path().size(), 'd');
    ASSERT_EQ(201u, folder.size());
    testing_support::MakeDirectories(folder);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.c_str()));

    struct { size_t fullLength; BOOL found; } cases[] = {{259, TRUE}, {260, FALSE}, {300, FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fullLength);
        const std::string name(c.fullLength - folder.size() - 1, 'n');
        const std::wstring wide = L"\\\\?\\" + std::wstring(folder.begin(), folder.end()) + L"\\" +
                                  std::wstring(name.begin(), name.end());
        HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        ::CloseHandle(file);
        // The platform finds it by the relative name, so only the length rule can refuse it.
        WIN32_FIND_DATAA found;
        HANDLE raw = ::FindFirstFileA(name.c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, raw);
        ::FindClose(raw);

        CFileFind find;
        EXPECT_EQ(c.found, find.FindFile(name.c_str()));
        find.Close();
        ::DeleteFileW(wide.c_str());
    }
}

TEST(FileFind, CloseEndsTheSearch)
{
    ScopedTestDirectory t;
    WriteTextFile(t / "x.log");
    WriteTextFile(t / "y.log");

    CFileFind find;
    ASSERT_TRUE(find.FindFile((t / "*.log").c_str()));
    find.Close();
    EXPECT_FALSE(find.FindNextFile());
    // The object can search again.
    ASSERT_TRUE(find.FindFile((t / "x.log").c_str()));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ(t / "x.log", std::string(find.GetFilePath()));
}

}  // namespace
