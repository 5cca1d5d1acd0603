#include <gtest/gtest.h>

#include "removal/VolumeTop.h"

namespace {

struct TopCase {
    const char* path;
    bool top;
};

const TopCase kTopCases[] = {
    {"", true},
    {"C:", true},
    {"c:", true},
    {"C:\\", true},
    {"C:/", true},
    {"C:\\\\", true},
    {"\\", true},
    {"/", true},
    {"\\\\server\\share", true},
    {"\\\\server\\share\\", true},
    {"//server/share", true},
    {"\\\\server", true},
    {"\\\\", true},
    {"\\\\?\\C:", true},
    {"\\\\?\\C:\\", true},
    {"\\\\.\\C:", true},
    {"\\\\?\\UNC\\server\\share", true},
    {"\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}\\", true},
    {"C:\\A", false},
    {"C:A", false},
    {"C:\\A\\B", false},
    {"\\\\server\\share\\A", false},
    {"\\\\?\\C:\\A", false},
    {"\\\\?\\UNC\\server\\share\\A", false},
    {"\\A", false},
    {"A", false},
    {"1:", false},
    // The second byte of a double-byte character is never a separator; in the code page
    // in use here these are two single-byte letters anyway.
    {"C:\\\x83\x5C", false},
};

TEST(VolumeTop, RecognisesTheTopOfEveryPathForm)
{
    for (const TopCase& c : kTopCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.top, IsVolumeTop(c.path));
    }
}

struct PatternCase {
    const char* path;
    bool patternAtTop;
};

const PatternCase kPatternCases[] = {
    {"C:\\*.*", true},
    {"C:\\?", true},
    {"C:/*", true},
    {"\\\\server\\share\\*", true},
    {"\\\\?\\C:\\*", true},
    {"\\\\.\\C:\\*.*", true},
    {"\\\\?\\C:\\?", true},
    {"C:\\A\\*.log", false},
    {"C:\\A", false},
    {"\\\\?\\C:\\A\\*", false},
    // The "?" of the device prefix is part of the form, not a wildcard.
    {"\\\\?\\C:\\A", false},
    {"\\\\?\\C:\\A\\f.txt", false},
};

TEST(VolumeTop, RecognisesPatternsInTheTopOfAVolume)
{
    for (const PatternCase& c : kPatternCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.patternAtTop, IsPatternAtVolumeTop(c.path));
    }
}

}  // namespace
