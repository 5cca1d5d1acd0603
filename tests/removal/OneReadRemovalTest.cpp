// The entry removal that reads the catalogue once: it removes exactly what the passes that
// read every value anew remove, reads each listed value once, and sees a change that another
// process makes while it runs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "registry/RegistryCalls.h"
#include "tests/removal/RemovalTestSupport.h"
#include "tests/support/Shortcut.h"
#include "ui/UninstallDlg.h"

using namespace removal_tests;
using testing_support::DeleteTree;
using testing_support::MakeShortcut;
using testing_support::ScopedTestDirectory;
using testing_support::ScopedTestKey;
using testing_support::SetRawValue;

namespace {

// --- A registry seam that counts value reads, refuses keys and changes the catalogue on cue ---

struct Seam {
    int valueQueries = 0;
    int failedOpens = 0;
    std::string refuseName;  // an open of this key name fails
    LONG notifyResult = ERROR_SUCCESS;
    int notifyFailsFrom = 0;  // the request with this number (from 1) and all later ones fail
    int notifies = 0;
    std::string cueName;   // the first open of this key name runs the cue, once
    std::function<void()> cue;
};
Seam g_seam;

LSTATUS WINAPI SeamOpen(HKEY parent, LPCSTR name, DWORD options, REGSAM access, PHKEY result)
{
    const std::string text = name ? name : "";
    if (!g_seam.cueName.empty() && text == g_seam.cueName && g_seam.cue) {
        auto cue = std::move(g_seam.cue);
        g_seam.cue = nullptr;
        cue();
    }
    LSTATUS status = text == g_seam.refuseName ? ERROR_ACCESS_DENIED
                                               : PlatformRegistryCalls().openKey(parent, name, options, access, result);
    g_seam.failedOpens += status != ERROR_SUCCESS;
    return status;
}

LSTATUS WINAPI SeamQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    ++g_seam.valueQueries;
    return PlatformRegistryCalls().queryValue(key, name, reserved, type, data, size);
}

LSTATUS WINAPI SeamNotify(HKEY key, BOOL subtree, DWORD filter, HANDLE event, BOOL asynchronous)
{
    ++g_seam.notifies;
    if (g_seam.notifyFailsFrom && g_seam.notifies >= g_seam.notifyFailsFrom)
        return ERROR_ACCESS_DENIED;
    return PlatformRegistryCalls().notifyChange(key, subtree, filter, event, asynchronous);
}

class ScopedSeam {
public:
    ScopedSeam()
    {
        g_seam = Seam();
        m_calls = PlatformRegistryCalls();
        m_calls.openKey = &SeamOpen;
        m_calls.queryValue = &SeamQuery;
        m_calls.notifyChange = &SeamNotify;
        SetRegistryCallsForTesting(&m_calls);
    }
    ~ScopedSeam() { SetRegistryCallsForTesting(nullptr); }

private:
    RegistryCalls m_calls;
};

// --- Catalogue values of a case, written below the test's product key ---

struct Value {
    int entry;
    const char* name;
    // "{T}" is the case's folder; "{PAD}" is filled with blanks so that the whole text is
    // 300 bytes long, "{E}" with letters e so that the text up to it is 259 bytes long; a
    // leading "{8.3}" asks for the short form of the path that follows.
    std::string text;
    DWORD type = REG_SZ;
};

std::string ShortForm(const std::string& path)
{
    char buffer[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    const std::string shortForm = length != 0 && length < sizeof buffer ? buffer : "";
    EXPECT_NE(std::string::npos, shortForm.find('~')) << path << " has no short name";
    return shortForm;
}

std::string ExpandValue(const std::string& text, const std::string& root)
{
    // "{8.3}" first: the rest, expanded, in its short form (the file must exist).
    if (text.rfind("{8.3}", 0) == 0)
        return ShortForm(ExpandValue(text.substr(5), root));
    std::string result = Expand(text, root);
    const size_t pad = result.find("{PAD}");
    if (pad != std::string::npos)
        result.replace(pad, 5, std::string(300 - (result.size() - 5), ' '));
    const size_t name = result.find("{E}");
    if (name != std::string::npos)
        result.replace(name, 3, std::string(259 - name, 'e'));
    return result;
}

// A name of a case's layout, with "{E}" expanded, as a full path.
std::string Below(const std::string& root, const std::string& relative)
{
    return ExpandValue("{T}\\" + relative, root);
}

class OneReadRemoval : public ::testing::Test {
protected:
    std::string Entry(int index) const { return product.Path() + "\\App" + std::to_string(index); }

    void Write(const std::vector<Value>& values, const std::string& root)
    {
        for (int index : {0, 1, 2, 3, 5, 50, 51})
            DeleteTree(Entry(index));
        for (const Value& v : values) {
            const std::string text = ExpandValue(v.text, root);
            // A multi-string gets its second string and the closing zero.
            std::string data = text;
            if (v.type == REG_MULTI_SZ)
                data += std::string(1, '\0') + root + "\\second" + std::string(2, '\0');
            else if (v.type != REG_BINARY)
                data += '\0';
            SetRawValue(Entry(v.entry), v.name, v.type, data.data(), static_cast<DWORD>(data.size()));
        }
    }

    ScopedTestKey product;
    ScopedTestDirectory t;
    CUninstallDlg dialog{CString(product.Path().c_str())};
};

// Each case: the removed entry is App1; the layout (and shortcuts, made to point at files of
// the layout) lie below a folder of the case's own.
struct EquivalenceCase {
    const char* name;
    std::vector<std::string> layout;
    std::vector<std::pair<std::string, std::string>> shortcuts;  // link, target
    std::vector<Value> values;
    std::vector<std::string> gone;
    std::vector<std::string> kept;
    const char* refusedKey = nullptr;
};

const EquivalenceCase kEquivalenceCases[] = {
    {"a gap ends the own lists",
     {"Prog\\a.exe", "Prog\\late.txt", "Menu\\x.txt"},
     {{"Menu\\A.lnk", "Prog\\a.exe"}, {"Menu\\Late.lnk", "Prog\\a.exe"}},
     {{1, "File 1", "{T}\\Prog\\a.exe"}, {1, "File 3", "{T}\\Prog\\late.txt"},
      {1, "Link 1", "{T}\\Menu\\A.lnk"}, {1, "Link 3", "{T}\\Menu\\Late.lnk"}},
     {"Prog\\a.exe", "Menu\\A.lnk"},
     {"Prog\\late.txt", "Menu\\Late.lnk"}},
    {"a gap ends another entry's list",
     {"Prog\\a.exe", "Prog\\b.exe"},
     {},
     {{1, "File 1", "{T}\\Prog\\a.exe"}, {1, "File 2", "{T}\\Prog\\b.exe"},
      {2, "File 1", "{T}\\Other\\o.exe"}, {2, "File 2", "{T}\\Prog\\a.exe"}, {2, "File 4", "{T}\\Prog\\b.exe"}},
     {"Prog\\b.exe"},
     {"Prog\\a.exe"}},
    {"entries 0 and 50 protect, 51 does not",
     {"P\\zero.dll", "P\\fifty.dll", "P\\fiftyone.dll", "P\\own.dll"},
     {},
     {{1, "File 1", "{T}\\P\\zero.dll"}, {1, "File 2", "{T}\\P\\fifty.dll"}, {1, "File 3", "{T}\\P\\fiftyone.dll"},
      {1, "File 4", "{T}\\P\\own.dll"},
      {0, "File 1", "{T}\\P\\zero.dll"}, {50, "File 1", "{T}\\P\\fifty.dll"}, {51, "File 1", "{T}\\P\\fiftyone.dll"}},
     {"P\\fiftyone.dll", "P\\own.dll"},
     {"P\\zero.dll", "P\\fifty.dll"}},
    {"the entry's own values, twice, protect nothing",
     {"P\\twice.dll", "Q\\q.txt"},
     {},
     {{1, "File 1", "{T}\\P\\twice.dll"}, {1, "File 2", "{T}\\P\\TWICE.DLL"}, {1, "File 3", "{T}\\Q\\q.txt"}},
     {"P", "Q"},
     {}},
    {"other spellings of a file protect it; a shortcut's target is found in any spelling",
     {"P\\case.dll", "P\\slash.dll", "P\\blank.dll", "P\\Long Shared Name.dll", "P\\own.dll", "Menu\\x.txt"},
     {{"Menu\\Upper.lnk", "P\\CASE.DLL"}, {"Menu\\Slash.lnk", "P\\own.dll"}},
     {{1, "File 1", "{T}\\P\\case.dll"}, {1, "File 2", "{T}\\P\\slash.dll"}, {1, "File 3", "{T}\\P\\blank.dll"},
      {1, "File 4", "{T}\\P\\Long Shared Name.dll"}, {1, "File 5", "{T}/P/./own.dll"},
      {1, "Link 1", "{T}\\Menu\\Upper.lnk"}, {1, "Link 2", "{T}/Menu//Slash.lnk"},
      {3, "File 1", "{T}\\p\\CASE.DLL"}, {3, "File 2", "{T}/P/slash.dll"}, {3, "File 3", "{T}\\P\\blank.dll "},
      {3, "File 4", "{8.3}{T}\\P\\Long Shared Name.dll"}},
     {"P\\own.dll", "Menu\\Upper.lnk", "Menu\\Slash.lnk"},
     {"P\\case.dll", "P\\slash.dll", "P\\blank.dll", "P\\Long Shared Name.dll"}},
    {"patterns: the removed entry's keeps what others list, another's protects its matches",
     {"Lib\\a.dll", "Lib\\common.dll", "Lib\\notes.txt", "Solo\\s.dll", "Solo\\t.txt"},
     {},
     {{1, "File 1", "{T}\\Lib\\*.dll"}, {1, "File 2", "{T}\\Solo\\s.dll"}, {1, "File 3", "{T}\\Solo\\t.txt"},
      {2, "File 1", "{T}\\LIB\\common.dll"}, {3, "File 1", "{T}/Solo/*.DLL"}},
     {"Lib\\a.dll", "Solo\\t.txt"},
     {"Lib\\common.dll", "Lib\\notes.txt", "Solo\\s.dll"}},
    {"a shortcut that another entry lists as a Link or File value stays",
     {"P\\a.exe", "P\\b.exe", "P\\c.exe", "Menu\\x.txt"},
     {{"Menu\\A.lnk", "P\\a.exe"}, {"Menu\\B.lnk", "P\\b.exe"}, {"Menu\\C.lnk", "P\\c.exe"}},
     {{1, "File 1", "{T}\\P\\a.exe"}, {1, "File 2", "{T}\\P\\b.exe"}, {1, "File 3", "{T}\\P\\c.exe"},
      {1, "Link 1", "{T}\\Menu\\A.lnk"}, {1, "Link 2", "{T}\\Menu\\B.lnk"}, {1, "Link 3", "{T}\\Menu\\C.lnk"},
      {3, "Link 1", "{T}\\MENU\\.\\a.lnk"}, {2, "File 1", "{T}/Menu/B.lnk"}},
     {"Menu\\C.lnk", "P"},
     {"Menu\\A.lnk", "Menu\\B.lnk"}},
    {"relative values protect alike and are never deleted",
     {"P\\rel.dll", "P\\a.exe", "P\\b.exe", "Menu\\x.txt"},
     {{"Menu\\Rel.lnk", "P\\a.exe"}},
     // The current directory is the case's folder, so each relative value names a file of it.
     {{1, "File 1", "P\\rel.dll"}, {1, "File 2", "{T}\\P\\a.exe"}, {1, "File 3", "P\\b.exe"},
      {1, "Link 1", "Menu\\Rel.lnk"}, {3, "File 1", "P\\b.exe"}},
     {"P\\a.exe"},
     {"P\\rel.dll", "P\\b.exe", "Menu\\Rel.lnk"}},
    {"values longer than 259 bytes compare cut and are never deleted",
     {"canary\\sub\\", "canary\\deeper\\empty\\", "P\\own.dll", "P\\{E}", "P\\after-long.dll", "Menu\\x.txt"},
     {{"Menu\\App.lnk", "P\\own.dll"}},
     // Each cut text names an existing path once the platform drops its trailing blanks.
     {{1, "File 1", "{T}\\canary{PAD}\\x.txt"}, {1, "Link 1", "{T}\\Menu\\App.lnk{PAD}\\x.lnk"},
      {1, "File 2", "{T}\\P\\own.dll"},
      // A path of exactly 259 bytes, protected by another entry's longer value that begins
      // with it.
      {1, "File 3", "{T}\\P\\{E}"}, {3, "File 1", "{T}\\P\\{E}yy"},
      // A value of some kilobytes does not end the list that holds it.
      {3, "File 2", "{T}\\" + std::string(3000, 'z')}, {3, "File 3", "{T}\\P\\after-long.dll"},
      {1, "File 4", "{T}\\P\\after-long.dll"}},
     {"P\\own.dll"},
     {"canary\\sub", "canary\\deeper\\empty", "Menu\\App.lnk", "P\\{E}", "P\\after-long.dll"}},
    {"values of other types read as text to their first zero byte",
     {"P\\binary.dll", "P\\expand.dll", "P\\multi.dll", "second"},
     {},
     {{1, "File 1", "{T}\\P\\binary.dll"}, {1, "File 2", "{T}\\P\\expand.dll"}, {1, "File 3", "{T}\\P\\multi.dll"},
      {2, "File 1", "{T}\\P\\binary.dll", REG_BINARY}, {2, "File 2", "{T}\\P\\multi.dll", REG_MULTI_SZ},
      {1, "File 4", "{T}\\second", REG_EXPAND_SZ}, {1, "File 5", "{T}\\P\\expand.dll", REG_EXPAND_SZ}},
     {"P\\expand.dll", "second"},
     {"P\\binary.dll", "P\\multi.dll"}},
    {"another entry whose key cannot be opened protects nothing",
     {"P\\shared.dll", "P\\mine.dll"},
     {},
     {{1, "File 1", "{T}\\P\\shared.dll"}, {1, "File 2", "{T}\\P\\mine.dll"}, {3, "File 1", "{T}\\P\\shared.dll"}},
     {"P"},
     {},
     "App3"},
    {"the removed entry's key cannot be opened",
     {"P\\mine.dll", "Menu\\x.txt"},
     {{"Menu\\A.lnk", "P\\mine.dll"}},
     {{1, "File 1", "{T}\\P\\mine.dll"}, {1, "Link 1", "{T}\\Menu\\A.lnk"}},
     {},
     {"P\\mine.dll", "Menu\\A.lnk"},
     "App1"},
};

enum class Way { PerValue, OneRead };

TEST_F(OneReadRemoval, RemovesWhatThePerValuePassesRemove)
{
    int caseNumber = 0;
    for (const EquivalenceCase& c : kEquivalenceCases) {
        ++caseNumber;
        for (Way way : {Way::PerValue, Way::OneRead}) {
            const char* wayName = way == Way::PerValue ? "per value" : "one read";
            SCOPED_TRACE(std::string(c.name) + ", " + wayName);
            // A folder per case and way; its keep.txt stops every walk at the folder.
            const std::string root = t / (std::to_string(caseNumber) + (way == Way::PerValue ? "p" : "o"));
            MakeLayout(root, {"keep.txt"});
            for (const std::string& name : c.layout) {
                if (name.back() == '\\')
                    testing_support::MakeDirectories(Below(root, name.substr(0, name.size() - 1)));
                else
                    testing_support::WriteTextFile(Below(root, name));
            }
            for (const auto& [link, target] : c.shortcuts)
                ASSERT_TRUE(MakeShortcut(Below(root, link), Below(root, target)));
            Write(c.values, root);
            ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));

            {
                ScopedSeam seam;
                g_seam.refuseName = c.refusedKey ? c.refusedKey : "";
                if (way == Way::PerValue) {
                    dialog.RemoveEntryLinks(Entry(1).c_str());
                    dialog.RemoveEntryFiles(Entry(1).c_str());
                } else {
                    dialog.RemoveEntry(Entry(1).c_str());
                }
            }
            ::SetCurrentDirectoryA(t.Path().c_str());

            for (const std::string& name : c.gone)
                EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(Below(root, name).c_str())) << name << " stayed";
            for (const std::string& name : c.kept)
                EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(Below(root, name).c_str())) << name << " went";
        }
    }
}

// --- Reads, and changes while the removal runs ---

// App1 is removed: two shortcuts and five files; App0 lists two files, App3 four (one of them
// App1's f5, in another spelling) and a shortcut of its own, App50 one file. Every other index
// from 0 to 50 is missing.
class WatchedRemoval : public OneReadRemoval {
protected:
    void SetUp() override
    {
        MakeLayout(t.Path(), {"keep.txt", "App\\f1.dat", "App\\f2.dat", "App\\f3.dat", "App\\f4.dat", "App\\f5.dat",
                              "Menu\\x.txt"});
        ASSERT_TRUE(MakeShortcut(t / "Menu\\One.lnk", t / "App\\f1.dat"));
        ASSERT_TRUE(MakeShortcut(t / "Menu\\Two.lnk", t / "App\\f2.dat"));
        Write({{1, "Link 1", "{T}\\Menu\\One.lnk"}, {1, "Link 2", "{T}\\Menu\\Two.lnk"},
               {1, "File 1", "{T}\\App\\f1.dat"}, {1, "File 2", "{T}\\App\\f2.dat"}, {1, "File 3", "{T}\\App\\f3.dat"},
               {1, "File 4", "{T}\\App\\f4.dat"}, {1, "File 5", "{T}\\App\\f5.dat"},
               {0, "File 1", "{T}\\Zero\\a"}, {0, "File 2", "{T}\\Zero\\b"},
               {3, "File 1", "{T}\\Three\\a"}, {3, "File 2", "{T}\\Three\\b"}, {3, "File 3", "{T}/APP/f5.dat"},
               {3, "File 4", "{T}\\Three\\d"}, {3, "Link 1", "{T}\\Three\\menu.lnk"},
               {50, "File 1", "{T}\\Fifty\\a"}},
              t.Path());
        ASSERT_TRUE(::SetCurrentDirectoryA(t.Path().c_str()));
    }

    // One query per value read, and one for the first missing number of each list: the Link
    // and File lists of App1, App0, App3 and App50.
    static constexpr int kOneRead = (2 + 1) + (5 + 1) + (0 + 1) + (2 + 1) + (1 + 1) + (4 + 1) + (0 + 1) + (1 + 1);
    // Indices 0 to 50 but App1 itself, less the three that exist.
    static constexpr int kMissingEntries = 50 - 3;
    // What App1's removal takes when nothing changes.
    static std::vector<std::string> Removed()
    {
        return {"Menu\\One.lnk", "Menu\\Two.lnk", "App\\f1.dat", "App\\f2.dat", "App\\f3.dat", "App\\f4.dat"};
    }
};

TEST_F(WatchedRemoval, ReadsEveryListedValueOnceAndNothingPerFile)
{
    ScopedSeam seam;
    dialog.RemoveEntry(Entry(1).c_str());

    EXPECT_EQ(kOneRead, g_seam.valueQueries);
    EXPECT_EQ(kMissingEntries, g_seam.failedOpens);
    ExpectGoneAndKept(t, Removed(), {"App\\f5.dat", "Menu\\x.txt"});
}

// While the removal runs, App2 appears with one value that lists a file or shortcut of App1
// not decided yet: it stays, however the removal comes to know of the change.
struct ChangeCase {
    const char* name;
    int notifyFailsFrom;  // 0: the watch holds; 1: it cannot be set; 2: it cannot be armed anew
    const char* valueName;  // App2's new value, none for no change
    const char* value;
    const char* stays;
};

const ChangeCase kChangeCases[] = {
    {"no change", 0, nullptr, nullptr, nullptr},
    {"the watch sees a File value", 0, "File 1", "{T}\\App\\f4.dat", "App\\f4.dat"},
    {"the watch sees a pattern, matched anew", 0, "File 1", "{T}\\app\\F4.*", "App\\f4.dat"},
    {"the watch sees a Link value", 0, "Link 1", "{T}/Menu/Two.lnk", "Menu\\Two.lnk"},
    {"no watch: every value is read when needed", 1, "File 1", "{T}\\App\\f4.dat", "App\\f4.dat"},
    {"no watch, a Link value", 1, "Link 1", "{T}\\Menu\\Two.lnk", "Menu\\Two.lnk"},
    {"the watch cannot be armed again", 2, "File 1", "{T}\\App\\f4.dat", "App\\f4.dat"},
};

TEST_F(WatchedRemoval, AChangeDuringTheRemovalIsSeenBeforeTheNextDeletion)
{
    for (const ChangeCase& c : kChangeCases) {
        SCOPED_TRACE(c.name);
        SetUp();
        {
            ScopedSeam seam;
            g_seam.notifyFailsFrom = c.notifyFailsFrom;
            if (c.valueName) {
                // The last key of the first read: every list has been read by then.
                g_seam.cueName = "App50";
                g_seam.cue = [this, &c] { testing_support::SetText(Entry(2), c.valueName, Expand(c.value, t.Path())); };
            }
            dialog.RemoveEntry(Entry(1).c_str());

            if (c.notifyFailsFrom == 0)
                // The lists are read once more after the change, and only then: App2's two
                // lists, one value in one of them, add three queries.
                EXPECT_EQ(c.valueName ? 2 * kOneRead + 3 : kOneRead, g_seam.valueQueries);
            else
                EXPECT_GT(g_seam.valueQueries, 2 * kOneRead);  // read per value
        }
        std::vector<std::string> gone;
        for (const std::string& name : Removed()) {
            if (!c.stays || name != c.stays)
                gone.push_back(name);
        }
        std::vector<std::string> kept = {"App\\f5.dat", "keep.txt"};
        if (c.stays)
            kept.push_back(c.stays);
        ExpectGoneAndKept(t, gone, kept);
    }
}

}  // namespace
