#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TailCase {
    const char* name;
    const char* commandLine;
    const char* tail;
};

const TailCase kTailCases[] = {
    {"program name only", "Uninstall.exe", ""},
    {"empty command line", "", ""},
    {"unquoted name, one blank", "Uninstall.exe $ 12 \"C:\\A B\\Uninstall.exe\"", "$ 12 \"C:\\A B\\Uninstall.exe\""},
    {"quoted name with blank", "\"C:\\Program Files\\K\\Uninstall.exe\" /x", "/x"},
    {"quoted name directly followed", "\"C:\\K\\Uninstall.exe\"abc", "abc"},
    {"quoted name never closed", "\"C:\\K\\Uninstall.exe", ""},
    {"tab ends an unquoted name", "Uninstall.exe\tnext", "next"},
    {"codes 1 to 32 skipped", "Uninstall.exe \x01\x02\t\x1f  tail", "tail"},
    {"control character ends an unquoted name", "Un\x05install.exe", "install.exe"},
    {"blanks after the tail stay", "a.exe x  ", "x  "},
    {"quote inside an unquoted name", "C:\\a\"b c\".exe rest", "c\".exe rest"},
    {"trailing blanks only", "Uninstall.exe    ", ""},
};

TEST(CommandTail, FollowsTheProgramNameRules)
{
    for (const TailCase& c : kTailCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::string(c.tail), AfxCommandTail(c.commandLine));
    }
}

TEST(CommandTail, HighBytesBelongToTheProgramName)
{
    // Bytes above 127 are ordinary characters of an ANSI name, not blanks.
    EXPECT_STREQ("rest", AfxCommandTail("\xE4\xF6\xFC.exe rest"));
}

}  // namespace
