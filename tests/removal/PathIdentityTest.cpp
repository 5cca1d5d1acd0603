// The text by which the removal compares paths: one form for every spelling of one file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "removal/PathIdentity.h"
#include "tests/removal/RemovalTestSupport.h"

using namespace removal_tests;
using testing_support::ScopedTestDirectory;

namespace {

std::string ShortPath(const std::string& path)
{
    char buffer[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return length != 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

bool SameFile(const std::string& a, const std::string& b)
{
    return PathIdentity(a.c_str()).CompareNoCase(PathIdentity(b.c_str())) == 0;
}

struct SpellingCase {
    const char* spelling;
    const char* plain;
    bool same;
};

// {T} is the test's folder; "Long Folder\LongFileName.txt" exists there.
const SpellingCase kSpellingCases[] = {
    {"{T}/Long Folder/LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", true},
    {"{T}\\\\Long Folder\\LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", true},
    {"{T}\\.\\Long Folder\\LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", true},
    {"{T}\\sub\\..\\Long Folder\\LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", true},
    {"{T}\\Long Folder\\LongFileName.txt.", "{T}\\Long Folder\\LongFileName.txt", true},
    {"{T}\\Long Folder\\LongFileName.txt  ", "{T}\\Long Folder\\LongFileName.txt", true},
    {"{T}\\LONG FOLDER\\longfilename.TXT", "{T}\\Long Folder\\LongFileName.txt", true},
    {"\\\\?\\{T}\\Long Folder\\LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", true},
    {"\\\\.\\{T}\\Long Folder\\LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", true},
    {"{T}\\Long Folder\\", "{T}\\Long Folder", true},
    {"\\\\?\\UNC\\server\\share\\a.txt", "\\\\server\\share\\a.txt", true},
    {"//server/share/x/../a.txt", "\\\\server\\share\\a.txt", true},
    // Different files stay different.
    {"{T}\\Long Folder\\LongFileName.tx", "{T}\\Long Folder\\LongFileName.txt", false},
    {"{T}\\Long Folder \\LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", false},
    {"{T}\\Long Folder\\LongFileName.txt\\..", "{T}\\Long Folder\\LongFileName.txt", false},
    {"{T}\\Long Folder\\*.txt", "{T}\\Long Folder\\LongFileName.txt", false},
    // Relative paths keep their text: they depend on the current directory.
    {"LongFileName.txt", "{T}\\Long Folder\\LongFileName.txt", false},
    {".\\a.txt", "a.txt", false},
    {"a.txt", "A.TXT", true},
    {"C:a.txt", "C:\\a.txt", false},
    {"\\a.txt", "C:\\a.txt", false},
    // Other device paths keep their text.
    {"\\\\?\\Volume{0}\\a.txt", "\\\\?\\Volume{0}\\.\\a.txt", false},
    {"", "", true},
};

TEST(PathIdentity, SpellingsOfOneFileShareOneForm)
{
    ScopedTestDirectory t;
    MakeLayout(t.Path(), {"Long Folder\\LongFileName.txt"});
    for (const SpellingCase& c : kSpellingCases) {
        const std::string spelling = Expand(c.spelling, t.Path());
        const std::string plain = Expand(c.plain, t.Path());
        SCOPED_TRACE(spelling + " / " + plain);
        EXPECT_EQ(c.same, SameFile(spelling, plain));
    }
}

TEST(PathIdentity, ShortNamesOfAnExistingFileAreItsLongName)
{
    ScopedTestDirectory t;
    MakeLayout(t.Path(), {"Long Folder\\LongFileName.txt"});
    const std::string plain = t / "Long Folder\\LongFileName.txt";
    const std::string shortName = ShortPath(plain);
    ASSERT_NE(std::string::npos, shortName.find('~')) << shortName;

    EXPECT_TRUE(SameFile(shortName, plain));
    EXPECT_STREQ(plain.c_str(), PathIdentity(shortName.c_str()));
    // A short folder name with a long file name, and the short form behind "\\?\".
    const std::string shortFolder = ShortPath(t / "Long Folder");
    EXPECT_TRUE(SameFile(shortFolder + "\\LongFileName.txt", plain));
    EXPECT_TRUE(SameFile("\\\\?\\" + shortName, plain));
    // Once the file is gone its short name is only text.
    ASSERT_TRUE(::DeleteFileA(plain.c_str()));
    EXPECT_FALSE(SameFile(shortName, plain));
}

// The form must not follow the current directory, which every pruning walk moves.
TEST(PathIdentity, DoesNotDependOnTheCurrentDirectory)
{
    ScopedTestDirectory t;
    MakeLayout(t.Path(), {"a\\f.txt", "b\\"});
    ASSERT_TRUE(::SetCurrentDirectoryA((t / "a").c_str()));
    const CString inA = PathIdentity("f.txt");
    const CString absoluteInA = PathIdentity((t / "a\\..\\a\\f.txt").c_str());
    ASSERT_TRUE(::SetCurrentDirectoryA((t / "b").c_str()));
    EXPECT_STREQ(inA, PathIdentity("f.txt"));
    EXPECT_STREQ(absoluteInA, PathIdentity((t / "a\\..\\a\\f.txt").c_str()));
    EXPECT_STREQ((t / "a\\f.txt").c_str(), absoluteInA);
}

TEST(PathIdentity, PatternsHoldAWildcardBehindAnyDevicePrefix)
{
    struct Case {
        const char* path;
        bool pattern;
    };
    const Case cases[] = {
        {"C:\\a\\*.dll", true},          {"C:/a/b?.txt", true},           {"\\\\srv\\share\\x", false},
        {"*", true},                      {"C:\\a\\<.txt", true},          {"C:\\a\\b.txt", false},
        {"", false},                      {"\\\\?\\C:\\a\\b.txt", false},   {"\\\\.\\C:\\a\\b.txt", false},
        {"\\\\?\\C:\\a\\*.txt", true},    {"\\\\?\\C:\\a\\b?.txt", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.pattern, IsPathPattern(c.path));
    }
    EXPECT_FALSE(IsPathPattern(nullptr));
}

TEST(PathIdentity, PatternMatchesAreWhatTheSearchFindsWithoutDots)
{
    ScopedTestDirectory t;
    MakeLayout(t.Path(), {"a\\x.dll", "a\\y.DLL", "a\\z.txt", "a\\sub\\w.dll"});
    auto names = [&](const std::string& pattern) {
        std::vector<std::string> found;
        for (const CString& match : PatternMatches(pattern.c_str()))
            found.push_back(match.GetString());
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ((std::vector<std::string>{t / "a\\x.dll", t / "a\\y.DLL"}), names(t / "a\\*.dll"));
    EXPECT_EQ((std::vector<std::string>{t / "a\\sub", t / "a\\x.dll", t / "a\\y.DLL", t / "a\\z.txt"}),
              names(t / "a\\*"));
    EXPECT_EQ((std::vector<std::string>{t / "a\\x.dll", t / "a\\y.DLL"}), names(t.Path() + "/a/./*.dll"));
    EXPECT_TRUE(names(t / "a\\*.exe").empty());
    // A relative pattern matches nothing, wherever the current directory is.
    ASSERT_TRUE(::SetCurrentDirectoryA((t / "a").c_str()));
    EXPECT_TRUE(names("*.dll").empty());
}

}  // namespace
