#include <gtest/gtest.h>

#include "removal/AbsolutePath.h"

namespace {

struct AbsoluteCase {
    const char* path;
    bool absolute;
};

const AbsoluteCase kAbsoluteCases[] = {
    {"C:\\", true},
    {"C:\\A\\f.txt", true},
    {"c:/a/f.txt", true},
    {"z:\\", true},
    {"\\\\server\\share\\f.txt", true},
    {"//server/share", true},
    {"\\/server", true},
    {"\\\\?\\C:\\A\\f.txt", true},
    {"\\\\.\\C:\\A\\f.txt", true},
    {"\\\\", true},
    {"", false},
    {"*", false},
    {"*.*", false},
    {"f.txt", false},
    {".", false},
    {"..", false},
    {"..\\x", false},
    {"\\foo", false},
    {"/foo", false},
    {"\\", false},
    {"C:", false},
    {"C:*", false},
    {"C:f.txt", false},
    {"C:..\\x", false},
    {"1:\\", false},
    {":\\", false},
    {"CC:\\", false},
    // A byte above 127 is no drive letter in any code page.
    {"\xC4:\\x", false},
};

TEST(AbsolutePath, OnlyDriveRootsAndDoubleSeparatorsAreAbsolute)
{
    for (const AbsoluteCase& c : kAbsoluteCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.absolute, IsAbsolutePath(c.path));
    }
    EXPECT_FALSE(IsAbsolutePath(nullptr));
}

}  // namespace
