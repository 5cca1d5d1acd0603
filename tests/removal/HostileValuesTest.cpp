// Catalogue values written to do harm, through the real removal passes: nothing outside the
// entry's own absolute paths may change, wherever the current directory stands.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/removal/RemovalTestSupport.h"
#include "tests/support/Shortcut.h"
#include "ui/UninstallDlg.h"

using namespace removal_tests;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::FolderEntries;
using testing_support::MakeShortcut;
using testing_support::ScopedTestDirectory;
using testing_support::ScopedTestKey;
using testing_support::SetText;

namespace {

// Every file and folder below root, relative to it; folders end in a backslash.
std::set<std::string> Listing(const std::string& root)
{
    std::set<std::string> names;
    for (const std::string& name : FolderEntries(root)) {
        const std::string path = root + "\\" + name;
        if (!DirectoryExists(path)) {
            names.insert(name);
            continue;
        }
        names.insert(name + "\\");
        for (const std::string& inner : Listing(path))
            names.insert(name + "\\" + inner);
    }
    return names;
}

std::set<std::string> Without(std::set<std::string> names, const std::vector<std::string>& removed)
{
    for (const std::string& name : removed)
        names.erase(name);
    return names;
}

// The folder that "\foo" names while the current directory is on drive C. It holds only an
// empty folder, so that the tree removal would take it whole. Made only where there is none
// yet, and removed only if made here.
class ScopedRootCanary {
public:
    ScopedRootCanary()
    {
        if (::GetFileAttributesA(kPath) != INVALID_FILE_ATTRIBUTES)
            return;
        MakeLayout(kPath, {"inner\\"});
        m_made = true;
    }
    ~ScopedRootCanary()
    {
        if (m_made)
            testing_support::RemoveTree(kPath);
    }
    ScopedRootCanary(const ScopedRootCanary&) = delete;
    ScopedRootCanary& operator=(const ScopedRootCanary&) = delete;
    bool Made() const { return m_made; }

    static constexpr char kPath[] = "C:\\foo";

private:
    bool m_made = false;
};

// The test's own key is the product key, with one entry; each test lays out its folders.
class HostileValues : public ::testing::Test {
protected:
    std::string Entry() const { return product.Path() + "\\App1"; }

    // Writes the entry's Name 1, Name 2, ... anew, with {T} standing for root.
    void SetList(const std::string& root, const char* name, const std::vector<std::string>& values)
    {
        for (size_t i = 0; i < values.size(); ++i)
            SetText(Entry(), (std::string(name) + " " + std::to_string(i + 1)).c_str(), Expand(values[i], root));
    }

    ScopedTestKey product;
    CUninstallDlg dialog{CString(product.Path().c_str())};
};

// The folder of all applications, with the entry's own Prog and Data beside another
// application's folder, files and empty folders; a folder to start in below it, and more of
// the same above. ".." from either current directory meets an empty folder x.
const std::vector<std::string> kApplicationsLayout = {
    "x\\",
    "apps\\readme.txt", "apps\\beside.txt", "apps\\Empty\\", "apps\\x\\",
    "apps\\Other\\o.exe", "apps\\Other\\Cache\\",
    "apps\\cur\\readme.txt", "apps\\cur\\c.txt", "apps\\cur\\Empty\\",
    "apps\\Prog\\App.exe", "apps\\Data\\deep\\d.dat",
};

// What the entry's own absolute values take with them.
const std::vector<std::string> kEntryOwnPaths = {
    "apps\\Prog\\", "apps\\Prog\\App.exe", "apps\\Data\\", "apps\\Data\\deep\\", "apps\\Data\\deep\\d.dat",
};

const char* const kHostileValues[] = {
    "*", "*.*", "readme.txt", "C:*", "\\foo", ".", "..\\x", "Empty", "C:readme.txt", "cur\\c.txt",
};

// Each value comes once while the current directory is the folder the program started in,
// and once after a walk of the entry's own has moved it to the folder of all applications;
// through the passes that read each value when needed, and through the removal on one read.
TEST_F(HostileValues, RelativeValuesChangeNothing)
{
    for (const char* value : kHostileValues)
    for (const bool oneRead : {false, true}) {
        SCOPED_TRACE(std::string(value) + (oneRead ? ", one read" : ", per value"));
        testing_support::DeleteTree(Entry());
        ScopedTestDirectory folder;  // wiped and made anew for each value
        ScopedRootCanary root;
        ASSERT_TRUE(root.Made());
        ASSERT_NO_FATAL_FAILURE(LayOut(folder, kApplicationsLayout, "apps\\cur"));
        const std::set<std::string> before = Listing(folder.Path());
        const std::set<std::string> rootBefore = Listing(ScopedRootCanary::kPath);
        SetList(folder.Path(), "File", {value, "{T}\\apps\\Prog\\App.exe", value, "{T}\\apps\\Data\\deep\\d.dat"});
        SetList(folder.Path(), "Link", {value, value});

        if (oneRead) {
            dialog.RemoveEntry(Entry().c_str());
        } else {
            dialog.RemoveEntryLinks(Entry().c_str());
            dialog.RemoveEntryFiles(Entry().c_str());
        }

        EXPECT_EQ(Without(before, kEntryOwnPaths), Listing(folder.Path()));
        EXPECT_EQ(rootBefore, Listing(ScopedRootCanary::kPath));
        EXPECT_EQ("apps", CurrentDirectoryBelow(folder.Path()));
    }
}

// A shortcut named by a relative Link value stays even when it points at the entry's own
// file; a shortcut to the same file named by an absolute value goes.
TEST_F(HostileValues, RelativeLinkValueKeepsItsShortcut)
{
    ScopedTestDirectory t;
    ASSERT_NO_FATAL_FAILURE(LayOut(t, {"Prog\\App.exe", "Menu\\other.txt"}, "Menu"));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\App.lnk", t / "Prog\\App.exe"));
    ASSERT_TRUE(MakeShortcut(t / "Menu\\Korvane\\App.lnk", t / "Prog\\App.exe"));
    SetList(t.Path(), "File", {"{T}\\Prog\\App.exe"});
    SetList(t.Path(), "Link", {"App.lnk", "{T}\\Menu\\Korvane\\App.lnk"});
    ASSERT_TRUE(dialog.LinkTargetBelongsToEntry(Entry().c_str(), "App.lnk")) << "the check alone reads it";

    dialog.RemoveEntryLinks(Entry().c_str());

    EXPECT_TRUE(FileExists(t / "Menu\\App.lnk"));
    EXPECT_FALSE(DirectoryExists(t / "Menu\\Korvane"));
}

// The device forms of a nested file remove what the plain form removes, and leave the
// current directory where it leaves it.
struct DeviceFormCase {
    const char* name;
    std::vector<std::string> layout;  // the whole content of the test's folder
    const char* file;
    std::vector<std::string> gone;  // inside the test's folder
    bool folderGone;                // the test's folder itself, directly in the drive root
    const char* currentAfter;       // the parent of the highest folder removed
};

const DeviceFormCase kDeviceFormCases[] = {
    {"lone file in a folder directly in the drive root", {"deep\\f.txt"}, "{T}\\deep\\f.txt",
     {"deep\\", "deep\\f.txt"}, true, "C:\\"},
    {"empty folder beside the emptied one", {"keep.txt", "a\\b\\f.txt", "a\\e\\"}, "{T}\\a\\b\\f.txt",
     {"a\\", "a\\b\\", "a\\b\\f.txt", "a\\e\\"}, false, "{T}"},
    {"file beside the emptied folder", {"keep.txt", "a\\b\\f.txt", "a\\g.txt"}, "{T}\\a\\b\\f.txt",
     {"a\\b\\", "a\\b\\f.txt"}, false, "{T}\\a"},
};

TEST_F(HostileValues, DeviceFormsRemoveWhatThePlainFormRemoves)
{
    ScopedTestDirectory start("-start");
    for (const DeviceFormCase& c : kDeviceFormCases) {
        for (const char* prefix : {"", "\\\\?\\", "\\\\.\\"}) {
            SCOPED_TRACE(std::string(c.name) + ", prefix " + prefix);
            testing_support::DeleteTree(Entry());
            ScopedTestDirectory folder;
            MakeLayout(folder.Path(), c.layout);
            ASSERT_TRUE(::SetCurrentDirectoryA(start.Path().c_str()));
            const std::set<std::string> before = Listing(folder.Path());
            SetList(folder.Path(), "File", {prefix + std::string(c.file)});

            dialog.RemoveEntryFiles(Entry().c_str());

            EXPECT_EQ(!c.folderGone, DirectoryExists(folder.Path()));
            if (!c.folderGone) {
                EXPECT_EQ(Without(before, c.gone), Listing(folder.Path()));
            }
            EXPECT_EQ(0, lstrcmpiA(Expand(c.currentAfter, folder.Path()).c_str(),
                                   testing_support::CurrentDirectory().c_str()))
                << testing_support::CurrentDirectory();
        }
    }
}

}  // namespace
