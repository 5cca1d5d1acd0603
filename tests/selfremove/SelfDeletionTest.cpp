// The hand-off between real processes: an uninstaller that hands its file to a temporary
// copy of itself, and the self-deleter started by hand with good and bad command lines.
#include "tests/selfremove/ChildProcess.h"
#include "tests/support/HandOff.h"
#include "tests/support/TestEnvironment.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace testing_support;

constexpr DWORD kDeadlineMs = 30000;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Expand(std::string text, const std::string& root)
{
    for (size_t at = text.find("{T}"); at != std::string::npos; at = text.find("{T}", at + root.size()))
        text.replace(at, 3, root);
    return text;
}

// Files, and directories where the name ends in a backslash, below root.
void MakeLayout(const std::string& root, const std::vector<std::string>& layout)
{
    for (const std::string& entry : layout) {
        if (!entry.empty() && entry.back() == '\\')
            MakeDirectories(root + "\\" + entry.substr(0, entry.size() - 1));
        else
            WriteTextFile(root + "\\" + entry);
    }
}

bool Exists(const std::string& path)
{
    return FileExists(path) || DirectoryExists(path);
}

struct TempCase {
    const char* name;
    const char* tempFolder;
};

const TempCase kTempCases[] = {
    {"temporary folder without blanks", "Temp"},
    {"temporary folder with blanks", "Temporary Files Of Korvane"},
};

// The uninstaller lies three folders down, one of them with a blank; a sibling folder holds a
// file. The uninstaller hands off and ends; once the self-deleter has ended, the uninstaller,
// the folders it emptied and the temporary copy are gone, and the sibling is untouched. The
// copy's folder is gone too, or empty and deleted at the next restart.
TEST(SelfDeletion, RemovesTheUninstallerTheFoldersItEmptiedAndTheCopy)
{
    int index = 0;
    for (const TempCase& c : kTempCases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory root("_" + std::to_string(++index));
        const std::string suite = root / "Program Files\\Korvane Suite";
        const std::string bin = suite + "\\Editor\\bin";
        const std::string uninstaller = bin + "\\Uninstall.exe";
        const std::string sibling = suite + "\\Shared\\keep.txt";
        const std::string temp = root / c.tempFolder;
        MakeDirectories(bin);
        MakeDirectories(temp);
        WriteTextFile(sibling);
        ASSERT_TRUE(::CopyFileA(TEST_SELF_DELETER_HOST_EXE, uninstaller.c_str(), FALSE));

        ChildProcess::Options options;
        options.currentDirectory = bin;  // as when started from its own folder
        options.environment = EnvironmentWith({"TMP=" + temp, "TEMP=" + temp});
        ChildProcess host(Quoted(uninstaller), options);
        ASSERT_TRUE(host.Started());

        // Poll until the uninstaller and the copy are gone, holding on to the self-deleter so
        // that it can be killed if it hangs.
        Descendants selfDeleter;
        const ULONGLONG deadline = ::GetTickCount64() + kDeadlineMs;
        bool done = false;
        while (!done && ::GetTickCount64() < deadline) {
            selfDeleter.Collect(host.Id());
            done = host.WaitForEnd(20) && !Exists(uninstaller) && HandOffCopies(temp).empty();
        }
        EXPECT_TRUE(host.WaitForEnd(0)) << "the uninstaller did not end";
        EXPECT_TRUE(selfDeleter.WaitForAll(kDeadlineMs)) << "the self-deleter did not end";

        EXPECT_FALSE(Exists(uninstaller));
        EXPECT_FALSE(Exists(bin));
        EXPECT_FALSE(Exists(suite + "\\Editor"));
        EXPECT_TRUE(FileExists(sibling));
        EXPECT_TRUE(DirectoryExists(suite));
        EXPECT_EQ(std::vector<std::string>{}, HandOffCopies(temp)) << "the temporary copy stayed";
        EXPECT_EQ(std::vector<std::string>{}, HandOffFoldersLeftBehind(temp));
        for (const std::string& name : FolderEntries(temp))
            EXPECT_TRUE(IsHandOffFolderName(name)) << name << " left in the temporary directory";
    }
}

// The real program as the self-deleter: it waits for the process whose handle it inherited,
// and deletes only after that process has ended.
TEST(SelfDeleter, DeletesOnlyAfterTheUninstallerProcessHasEnded)
{
    ScopedTestDirectory root;
    WriteTextFile(root / "keep.txt");
    const std::string uninstaller = root / "Korvane App\\bin\\Uninstall.exe";
    WriteTextFile(uninstaller);

    // Stands for the uninstaller: a process that runs until the test ends it.
    ChildProcess::Options blockerOptions;
    blockerOptions.creationFlags = CREATE_SUSPENDED;
    ChildProcess blocker(Quoted(OwnProgramPath()) + " --gtest_list_tests", blockerOptions);
    ASSERT_TRUE(blocker.Started());
    // Handed over as the uninstaller hands over its own: inheritable, SYNCHRONIZE only.
    KernelHandle handedOver(::OpenProcess(SYNCHRONIZE, TRUE, blocker.Id()));
    ASSERT_TRUE(handedOver);

    ChildProcess::Options options;
    options.inheritHandles = true;
    const std::string commandLine = Quoted(TEST_UNINSTALL_EXE) + " $ " +
                                    std::to_string(HandleToLong(handedOver.Get())) + " " + Quoted(uninstaller);
    ChildProcess selfDeleter(commandLine, options);
    ASSERT_TRUE(selfDeleter.Started());

    EXPECT_FALSE(selfDeleter.WaitForEnd(1000)) << "the self-deleter did not wait";
    EXPECT_TRUE(FileExists(uninstaller));

    blocker.Kill();
    ASSERT_TRUE(selfDeleter.WaitForEnd(kDeadlineMs)) << "the self-deleter did not end with the uninstaller";
    EXPECT_EQ(0u, selfDeleter.ExitCode());
    EXPECT_FALSE(Exists(uninstaller));
    EXPECT_FALSE(Exists(root / "Korvane App"));
    EXPECT_TRUE(FileExists(root / "keep.txt"));
}

struct CommandCase {
    const char* name;
    const char* tail;  // {T} stands for the case's folder
    std::vector<std::string> layout;
    std::vector<std::string> kept;
    std::vector<std::string> gone;
};

const std::string kTooLong = std::string(300, 'x');

const CommandCase kCommandCases[] = {
    {"marker alone", "$", {"App\\Uninstall.exe"}, {"App\\Uninstall.exe"}, {}},
    {"marker and handle only", "$ 12", {"App\\Uninstall.exe"}, {"App\\Uninstall.exe"}, {}},
    {"marker glued to the path", "$\"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {"App\\Uninstall.exe"}, {}},
    {"handle without digits", "$ abc \"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"handle 0", "$ 0 \"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"pseudo handle of the own process", "$ -1 \"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"pseudo handle of the own thread", "$ -2 \"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"small handle value 4", "$ 4 \"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"small handle value 8", "$ 8 \"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"value that is no handle", "$ 99996 \"{T}\\App\\Uninstall.exe\"", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"extra arguments", "$ 0 \"{T}\\App\\Uninstall.exe\" more", {"App\\Uninstall.exe"}, {}, {"App"}},
    {"quoted path with blanks", "$ 0 \"{T}\\Korvane App\\Uninstall.exe\"", {"Korvane App\\Uninstall.exe"}, {},
     {"Korvane App"}},
    {"unquoted path with a blank", "$ 0 {T}\\Korvane App\\Uninstall.exe", {"Korvane App\\Uninstall.exe"},
     {"Korvane App\\Uninstall.exe"}, {}},
    {"star", "$ 0 \"{T}\\App\\*.exe\"", {"App\\Uninstall.exe", "App\\Other.exe"},
     {"App\\Uninstall.exe", "App\\Other.exe"}, {}},
    {"question mark", "$ 0 \"{T}\\App\\Uninstall.ex?\"", {"App\\Uninstall.exe"}, {"App\\Uninstall.exe"}, {}},
    {"directory without files", "$ 0 \"{T}\\App\\Sub\"", {"App\\Sub\\Deeper\\"}, {}, {"App"}},
    {"directory with a file", "$ 0 \"{T}\\App\"", {"App\\Sub\\f.txt"}, {"App\\Sub\\f.txt"}, {}},
    {"path longer than 259 characters", "$ 0 \"{T}\\App\\xxx...\"", {"App\\Uninstall.exe"}, {"App\\Uninstall.exe"},
     {}},
    {"empty path", "$ 0 \"\"", {"App\\Uninstall.exe"}, {"App\\Uninstall.exe"}, {}},
};

// Anyone can type the self-deleter's command line: whatever it holds, the program ends
// without a window, deletes at most the one path it names, and never a pattern's matches.
TEST(SelfDeleter, HandlesEveryCommandLineWithoutCrashOrHang)
{
    int index = 0;
    for (const CommandCase& c : kCommandCases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory root("_" + std::to_string(++index));
        WriteTextFile(root / "keep.txt");
        MakeLayout(root.Path(), c.layout);
        std::string tail = Expand(c.tail, root.Path());
        const size_t ellipsis = tail.find("xxx...");
        if (ellipsis != std::string::npos)
            tail.replace(ellipsis, 6, kTooLong);

        ChildProcess selfDeleter(Quoted(TEST_UNINSTALL_EXE) + " " + tail, ChildProcess::Options());
        ASSERT_TRUE(selfDeleter.Started());
        ASSERT_TRUE(selfDeleter.WaitForEnd(kDeadlineMs)) << "the self-deleter hangs";
        EXPECT_EQ(0u, selfDeleter.ExitCode());

        for (const std::string& kept : c.kept)
            EXPECT_TRUE(FileExists(root / kept)) << kept;
        for (const std::string& gone : c.gone)
            EXPECT_FALSE(Exists(root / gone)) << gone;
        EXPECT_TRUE(FileExists(root / "keep.txt"));
    }
}

}  // namespace
