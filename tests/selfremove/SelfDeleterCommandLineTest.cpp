#include "selfremove/SelfDeleterCommandLine.h"

#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kLongCopy = "C:\\" + std::string(249, 't') + "\\D1.tmp";           // 259 characters
const std::string kLongUninstaller = "C:\\" + std::string(242, 'u') + "\\Uninstall.exe";  // 259 characters

struct LineCase {
    const char* name;
    std::string copyPath;
    long handle;
    std::string uninstallerPath;
    size_t size;
    bool formatted;
    std::string line;  // when formatted
};

const LineCase kLineCases[] = {
    {"the usual line", "C:\\Temp\\Del1A.tmp", 28, "C:\\Program Files\\Korvane\\Uninstall.exe",
     kSelfDeleterCommandLineSize, true, "C:\\Temp\\Del1A.tmp $ 28 \"C:\\Program Files\\Korvane\\Uninstall.exe\""},
    {"negative handle value", "C:\\T\\Del2.tmp", -5, "C:\\A\\Uninstall.exe", kSelfDeleterCommandLineSize, true,
     "C:\\T\\Del2.tmp $ -5 \"C:\\A\\Uninstall.exe\""},
    {"two full paths and the largest handle fit", kLongCopy, 2147483647L, kLongUninstaller,
     kSelfDeleterCommandLineSize, true, kLongCopy + " $ 2147483647 \"" + kLongUninstaller + "\""},
    {"a path beyond the full length does not fit", kLongCopy, 2147483647L, kLongUninstaller + std::string(40, 'x'),
     kSelfDeleterCommandLineSize, false, ""},
    {"small buffer", "C:\\T\\Del3.tmp", 4, "C:\\A\\Uninstall.exe", 16, false, ""},
    {"one byte short for the terminator", "C:\\T\\D.tmp", 4, "C:\\U.exe", 25, false, ""},
    {"exactly fits with the terminator", "C:\\T\\D.tmp", 4, "C:\\U.exe", 26, true, "C:\\T\\D.tmp $ 4 \"C:\\U.exe\""},
    {"blank in the copy's path", "C:\\Temp Dir\\Del4.tmp", 4, "C:\\A\\Uninstall.exe", kSelfDeleterCommandLineSize,
     false, ""},
    {"tab in the copy's path", "C:\\Temp\tDir\\Del5.tmp", 4, "C:\\A\\Uninstall.exe", kSelfDeleterCommandLineSize,
     false, ""},
    {"empty copy path", "", 4, "C:\\A\\Uninstall.exe", kSelfDeleterCommandLineSize, false, ""},
};

TEST(SelfDeleterCommandLine, IsFormattedWithinItsBufferOrNotAtAll)
{
    constexpr char kCanary = '\x5A';
    constexpr size_t kGuard = 64;
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.name);
        std::vector<char> buffer(c.size + kGuard, kCanary);
        const bool formatted = FormatSelfDeleterCommandLine(buffer.data(), c.size, c.copyPath.c_str(),
                                                            LongToHandle(c.handle), c.uninstallerPath.c_str());
        EXPECT_EQ(c.formatted, formatted);
        for (size_t i = c.size; i < buffer.size(); ++i)
            ASSERT_EQ(kCanary, buffer[i]) << "written past the buffer at " << i;
        if (c.formatted && formatted) {
            EXPECT_EQ(c.line, std::string(buffer.data()));
            // The copy must see its tail begin with the marker, or it is no self-deleter.
            EXPECT_EQ('$', AfxCommandTail(buffer.data())[0]);
        }
    }
}

}  // namespace
