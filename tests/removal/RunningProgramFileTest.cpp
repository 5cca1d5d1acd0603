// The running program's own file is recognised however a catalogue value writes its name:
// the deletions never count it as left behind, since it cannot go while the program runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "removal/DeleteFoundFile.h"
#include "tests/support/TestEnvironment.h"

namespace {

std::string OwnPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string Folder(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string ShortForm(const std::string& path)
{
    char shortPath[MAX_PATH] = "";
    ::GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return shortPath;
}

TEST(RunningProgramFile, RecognisedUnderEveryNameOfTheFile)
{
    const std::string own = OwnPath();
    ASSERT_FALSE(own.empty());
    const std::string name = own.substr(own.find_last_of('\\') + 1);
    std::string forward = own;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    const testing_support::ScopedTestDirectory elsewhere;
    testing_support::WriteTextFile(elsewhere / name);

    const std::string savedCurrent = testing_support::CurrentDirectory();
    ASSERT_TRUE(::SetCurrentDirectoryA(Folder(own).c_str()));
    const struct {
        const char* what;
        std::string path;
        bool own;
    } cases[] = {
        {"the module's own name", own, true},
        {"another letter case", Upper(own), true},
        {"forward slashes", forward, true},
        {"relative to the current directory", name, true},
        {"a detour through the parent", Folder(own) + "\\..\\" + Folder(own).substr(Folder(own).find_last_of('\\') + 1) +
                                           "\\" + name, true},
        {"the short form", ShortForm(own), true},
        {"the same name in another folder", elsewhere / name, false},
        {"another file in the same folder", Folder(own) + "\\other.exe", false},
        {"the folder", Folder(own), false},
        {"an empty path", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.own, IsRunningProgramFile(c.path.c_str())) << c.path;
    }
    ::SetCurrentDirectoryA(savedCurrent.c_str());
}

}  // namespace
