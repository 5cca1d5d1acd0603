#include "framework/String.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CString, FormatsDecimalIntegersAndTextsOfAnyLength)
{
    CString key;
    key.Format("%s\\App%i", "SOFTWARE\\Product", 7);
    EXPECT_STREQ("SOFTWARE\\Product\\App7", key);
    CString other;
    other.Format("%s\\App%d", "SOFTWARE\\Product", 7);
    EXPECT_EQ(0, key.Compare(other));
    CString row;
    row.Format("%s\t%s", "Alpha", "C:\\Alpha");
    EXPECT_STREQ("Alpha\tC:\\Alpha", row);

    const std::string longText(5000, 'L');
    CString longer;
    longer.Format("%s|%i", longText.c_str(), -12);
    EXPECT_EQ(longText + "|-12", longer.GetString());
}

TEST(CString, CopiesAreIndependentValues)
{
    CString original("abc");
    CString copy = original;
    copy += "def";
    EXPECT_STREQ("abc", original);
    EXPECT_STREQ("abcdef", copy);
    EXPECT_TRUE(original == "abc");
    EXPECT_TRUE(copy != "abc");
}

TEST(CString, CompareNoCaseIgnoresLetterCaseButNothingElse)
{
    EXPECT_EQ(0, CString("C:\\Prog\\A.DLL").CompareNoCase("c:\\prog\\a.dll"));
    EXPECT_NE(0, CString("C:/Prog/a.dll").CompareNoCase("C:\\Prog\\a.dll"));
    EXPECT_NE(0, CString("abc").CompareNoCase("abc "));
    EXPECT_NE(0, CString("abc").Compare("ABC"));
}

TEST(CString, LoadsStringsOfTheProgramsOwnResources)
{
    CString name;
    EXPECT_TRUE(name.LoadString(IDS_PRODUCT_NAME));
    EXPECT_STREQ("Korvane Version 7.0", name);
    CString missing("old");
    EXPECT_FALSE(missing.LoadString(4711));
    EXPECT_TRUE(missing.IsEmpty());
}

}  // namespace
