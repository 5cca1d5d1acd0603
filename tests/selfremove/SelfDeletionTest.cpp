// The hand-off between real processes: an uninstaller that hands its file to a temporary
// copy of itself, and the self-deleter started by hand with good and bad command lines.
#include "tests/selfremove/ChildProcess.h"
#include "tests/support/HandOff.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UninstallerDriver.h"
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

// System DLLs that the program loads while it starts.
const char* const kPlantedDllNames[] = {"version.dll", "uxtheme.dll"};

// Wine prefers its own builtin DLLs; this makes it look for these two on disk first, beside
// the program, as Windows does for DLLs it does not know: WINEDLLOVERRIDES="version,uxtheme=n,b"
// in its registry form, which reaches every process the test starts. (Wine does not take the
// variable from the environment block that CreateProcess hands a child.)
class PreferDllsOnDisk {
public:
    PreferDllsOnDisk()
    {
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_key, nullptr) !=
            ERROR_SUCCESS)
            return;
        for (const char* name : kNames)
            m_set += ::RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder), sizeof kOrder) ==
                     ERROR_SUCCESS;
    }
    ~PreferDllsOnDisk()
    {
        if (!m_key)
            return;
        for (const char* name : kNames)
            ::RegDeleteValueA(m_key, name);
        ::RegCloseKey(m_key);
    }
    PreferDllsOnDisk(const PreferDllsOnDisk&) = delete;
    PreferDllsOnDisk& operator=(const PreferDllsOnDisk&) = delete;
    bool IsSet() const { return m_set == 2; }

private:
    static constexpr char kKey[] = "Software\\Wine\\DllOverrides";
    static constexpr const char* kNames[] = {"version", "uxtheme"};
    static constexpr char kOrder[] = "native,builtin";
    HKEY m_key = nullptr;
    int m_set = 0;
};

void PlantMarkers(const std::string& folder)
{
    for (const char* name : kPlantedDllNames)
        ASSERT_TRUE(::CopyFileA(TEST_LOAD_MARKER_DLL, (folder + "\\" + name).c_str(), FALSE)) << name;
}

// The planted DLLs that a process has loaded: each leaves a file beside itself.
std::vector<std::string> LoadedMarkers(const std::string& folder)
{
    std::vector<std::string> loaded;
    for (const char* name : kPlantedDllNames) {
        if (FileExists(folder + "\\" + name + ".loaded"))
            loaded.push_back(name);
    }
    return loaded;
}

std::string ParentOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

std::string NameOf(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

std::string ImagePath(DWORD processId)
{
    KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    char path[MAX_PATH * 2] = "";
    DWORD size = sizeof path;
    if (!process || !::QueryFullProcessImageNameA(process.Get(), 0, path, &size))
        return std::string();
    return path;
}

// DLLs planted in the temporary directory, where the copy used to run from, cannot reach the
// copy: it runs from a new folder of its own in the temporary directory, which holds nothing
// but the copy, and which is gone or scheduled for deletion once the self-deleter has done its
// work (the folder's access list is read back by the folder's own tests). The uninstaller's
// current directory is the temporary directory too, the worst place it can be.
TEST(SelfDeletion, CopyRunsFromANewFolderOfItsOwnThatPlantedDllsCannotReach)
{
    ScopedTestDirectory root;
    const std::string temp = root / "Temp";
    WriteTextFile(temp + "\\other.tmp");
    const std::vector<char> environment = EnvironmentWith({"TMP=" + temp, "TEMP=" + temp});
    const PreferDllsOnDisk preferDllsOnDisk;
    ASSERT_TRUE(preferDllsOnDisk.IsSet());

    // First, that the markers show anything: each of them, alone beside the copy (where the
    // copy used to run, in the temporary directory), is loaded when the copy starts.
    for (const char* name : kPlantedDllNames) {
        SCOPED_TRACE(name);
        const std::string exposed = root / (std::string("Exposed-") + name);
        const std::string exposedCopy = exposed + "\\Del1A2B.tmp";
        MakeDirectories(exposed);
        ASSERT_TRUE(::CopyFileA(TEST_LOAD_MARKER_DLL, (exposed + "\\" + name).c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(TEST_SELF_DELETER_HOST_EXE, exposedCopy.c_str(), FALSE));
        ChildProcess::Options options;
        options.environment = environment;
        ChildProcess copy(Quoted(exposedCopy) + " $", options);
        ASSERT_TRUE(copy.Started());
        ASSERT_TRUE(copy.WaitForEnd(kDeadlineMs));
        ASSERT_EQ(std::vector<std::string>{name}, LoadedMarkers(exposed)) << "the marker is not loaded even beside the copy";
    }

    PlantMarkers(temp);
    const std::vector<std::string> tempBefore = FolderEntries(temp);
    const std::string uninstaller = root / "Korvane\\bin\\Uninstall.exe";
    MakeDirectories(ParentOf(uninstaller));
    ASSERT_TRUE(::CopyFileA(TEST_SELF_DELETER_HOST_EXE, uninstaller.c_str(), FALSE));

    // The uninstaller stays after the hand-off until the test ends it, and the self-deleter
    // waits for that.
    const std::string handedOffName = "KorvaneTestHandOff-" + std::to_string(::GetCurrentProcessId());
    const KernelHandle handedOff(::CreateEventA(nullptr, TRUE, FALSE, handedOffName.c_str()));
    ASSERT_TRUE(handedOff);
    ChildProcess::Options options;
    options.currentDirectory = temp;
    options.environment = environment;
    ChildProcess host(Quoted(uninstaller) + " stay " + handedOffName, options);
    ASSERT_TRUE(host.Started());
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(handedOff.Get(), kDeadlineMs)) << "the hand-off did not end";
    Descendants selfDeleter;
    selfDeleter.Collect(host.Id());
    ASSERT_EQ(1u, selfDeleter.Count()) << "no self-deleter was started";
    // A process that has only just been created has no image path yet.
    std::string copy;
    ASSERT_TRUE(WaitUntil([&] { return !(copy = ImagePath(selfDeleter.Ids()[0])).empty(); }));
    const std::string folder = ParentOf(copy);

    EXPECT_EQ(temp, ParentOf(folder)) << copy;
    EXPECT_TRUE(IsHandOffFolderName(NameOf(folder))) << copy;
    for (const std::string& name : tempBefore)
        EXPECT_NE(name, NameOf(folder)) << "the folder was there before";
    // Wine deletes a delete-on-close file as soon as its handle is closed, even while a
    // process runs from it, so the copy may be gone from the folder already.
    for (const std::string& name : FolderEntries(folder))
        EXPECT_EQ(NameOf(copy), name) << "something else is in the folder";

    host.Kill();
    ASSERT_TRUE(selfDeleter.WaitForAll(kDeadlineMs)) << "the self-deleter did not end";

    EXPECT_EQ(std::vector<std::string>{}, LoadedMarkers(temp)) << "a planted DLL was loaded into the copy";
    EXPECT_FALSE(Exists(uninstaller));
    EXPECT_FALSE(Exists(root / "Korvane"));
    EXPECT_TRUE(WaitUntil([&] { return !Exists(copy); })) << "the copy stayed";
    EXPECT_TRUE(!DirectoryExists(folder) || (FolderEntries(folder).empty() && IsScheduledForDeletionAtRestart(folder)))
        << folder << " stays for good";
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
