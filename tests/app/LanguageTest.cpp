#include "app/UninstallApp.h"

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

TEST(StartUp, TheProductKeyEndsWithTheProductNameOfTheStringTable)
{
    EXPECT_STREQ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvane Version 7.0", ComposeProductKey());
}

TEST(StartUp, OnlyAnUpperCaseDAsFirstByteOfLanguageSelectsGerman)
{
    ScopedTestKey product;
    struct Case {
        const char* value;
        int flag;
    };
    const Case cases[] = {
        {"D", 1}, {"DE", 1}, {"Deutsch", 1}, {"D\xFC", 1},
        {"d", 0}, {"de", 0}, {"deutsch", 0},
        {"E", 0}, {"English", 0}, {"German", 0}, {"", 0}, {" D", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("Language '") + c.value + "'");
        SetText(product.Path(), "Language", c.value);
        EXPECT_EQ(c.flag, ReadLanguageFlag(product.Path().c_str()));
    }
}

TEST(StartUp, AMissingLanguageMeansEnglish)
{
    ScopedTestKey product;
    SetText(product.Path(), "Other", "D");
    EXPECT_EQ(0, ReadLanguageFlag(product.Path().c_str())) << "no Language value";
    EXPECT_EQ(0, ReadLanguageFlag((product.Path() + "\\Missing").c_str())) << "no product key";
    EXPECT_FALSE(KeyExists(product.Path() + "\\Missing")) << "reading creates nothing";
}

TEST(StartUp, ALanguageOfAnyStoredTypeIsReadAsText)
{
    ScopedTestKey product;
    SetRawValue(product.Path(), "Language", REG_BINARY, "Dx", 2);
    EXPECT_EQ(1, ReadLanguageFlag(product.Path().c_str()));
}

}  // namespace
