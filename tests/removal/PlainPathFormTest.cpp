#include <gtest/gtest.h>

#include "removal/PlainPathForm.h"

namespace {

struct PlainCase {
    const char* path;
    const char* plain;
};

const PlainCase kPlainCases[] = {
    {"\\\\?\\C:\\A\\f.txt", "C:\\A\\f.txt"},
    {"\\\\.\\C:\\A\\f.txt", "C:\\A\\f.txt"},
    {"\\\\?\\c:\\a", "c:\\a"},
    {"\\\\?\\C:\\", "C:\\"},
    {"\\\\?\\C:\\A\\*.log", "C:\\A\\*.log"},
    // Plain paths and other kinds of device path stay as they are.
    {"C:\\A\\f.txt", "C:\\A\\f.txt"},
    {"\\\\server\\share\\f.txt", "\\\\server\\share\\f.txt"},
    {"\\\\?\\UNC\\server\\share\\f.txt", "\\\\?\\UNC\\server\\share\\f.txt"},
    {"\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}\\f.txt",
     "\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}\\f.txt"},
    {"\\\\?\\C:", "\\\\?\\C:"},
    {"\\\\?\\C:A", "\\\\?\\C:A"},
    {"\\\\?\\", "\\\\?\\"},
    {"\\\\", "\\\\"},
    {"", ""},
    // Where the plain form would name something else, the device form stays.
    {"\\\\?\\C:\\A\\dir.\\f.txt", "\\\\?\\C:\\A\\dir.\\f.txt"},
    {"\\\\?\\C:\\A\\name ", "\\\\?\\C:\\A\\name "},
    {"\\\\?\\C:\\A\\CON", "\\\\?\\C:\\A\\CON"},
    {"\\\\?\\C:\\A\\..\\f.txt", "\\\\?\\C:\\A\\..\\f.txt"},
    {"\\\\?\\C:\\A\\.\\f.txt", "\\\\?\\C:\\A\\.\\f.txt"},
    {"\\\\?\\C:/A/f.txt", "\\\\?\\C:/A/f.txt"},
};

TEST(PlainPathForm, DropsTheDevicePrefixWhereThePlainFormNamesTheSame)
{
    for (const PlainCase& c : kPlainCases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(c.plain, PlainPathForm(c.path).GetString());
    }
}

}  // namespace
