// Random catalogues and file trees, random removals, and after each removal the rules of
// ownership checked against what the catalogue lists:
//   1. every file that went was named by the removed entry (a File value, a match of one of
//      its File patterns, or one of its Link values);
//   2. no file that a remaining entry 0 to 50 names that way went;
//   3. a folder went only if it held no file afterwards: every file below it went, each by
//      rule 1;
// and, so that a removal that deletes nothing cannot pass, every file that the removed entry
// alone names by a File value or pattern went.
//
// The generator knows which file each value names, whatever its spelling, and works out the
// matches of a pattern from the tree it laid out; nothing here asks the program how it
// compares. A removal is the calls that the Remove command makes for one entry.
//
// KORVANE_PROPERTY_SEED sets the first catalogue's seed (catalogue i gets seed + i) and
// KORVANE_PROPERTY_ROUNDS the number of catalogues; a failure names its catalogue's seed.
//
// Some values are relative: a catalogue is machine-wide, so such a value names no file that
// the rules count; it may keep a file, never take one. The current directory is the test's
// folder at the start of every round, so a relative value that the removal did act on would
// reach the tree (or the shortcut stock beside it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "registry/RegistryPath.h"
#include "tests/removal/RemovalTestSupport.h"
#include "tests/support/Shortcut.h"
#include "ui/UninstallDlg.h"

using namespace removal_tests;
using testing_support::MakeShortcut;
using testing_support::ScopedTestDirectory;
using testing_support::ScopedTestKey;

namespace {

// A fixed first seed, so that every run checks the same catalogues; set another to explore.
constexpr unsigned kDefaultSeed = 20261211;
// Each catalogue costs about 50 ms under Wine, less than half of it in the removals.
constexpr int kDefaultRounds = 300;

// The tree that a catalogue may name, relative to the test's folder. Names longer than 8.3
// have short names; every extension has three letters, so a pattern's matches are the same
// by long and by short name.
const char* const kFolders[] = {"A", "A\\Sub Folder", "B", "Shared", "Shared\\Deep"};
const char* const kFiles[] = {"A\\app.exe",          "A\\Long Library Name.dll", "A\\readme.txt",
                              "A\\Sub Folder\\data.dat", "B\\b.exe",               "B\\Common Long.dll",
                              "Shared\\common.dll",  "Shared\\other.dll",        "Shared\\notes.txt",
                              "Shared\\Deep\\deep.dll"};
const char* const kEmptyFolders[] = {"A\\Empty", "Shared\\Deep\\Nothing Here"};
// Shortcuts are named by Link values only; File values name the applications' files and folders.
const char* const kShortcuts[] = {"Menu\\Main.lnk", "Menu\\Tool.lnk", "Menu\\Korvane Help.lnk", "Menu\\Shared.lnk"};
const char* const kPatternNames[] = {"*.dll", "*.txt", "*"};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Parent(const std::string& relative)
{
    const size_t cut = relative.rfind('\\');
    return cut == std::string::npos ? std::string() : relative.substr(0, cut);
}

bool IsBelow(const std::string& path, const std::string& folder)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '\\';
}

// Whether a name matches "*", "*.dll" or "*.txt".
bool NameMatches(const std::string& name, const std::string& pattern)
{
    if (pattern == "*")
        return true;
    const std::string extension = Lower(pattern.substr(1));
    return name.size() > extension.size() && Lower(name.substr(name.size() - extension.size())) == extension;
}

// What is on disk below the folder: relative lower-case paths, and whether each is a folder.
void Walk(const std::string& root, const std::string& relative, std::map<std::string, bool>& found)
{
    WIN32_FIND_DATAA data;
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string child = relative.empty() ? name : relative + "\\" + name;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        found[Lower(child)] = isFolder;
        if (isFolder)
            Walk(root, child, found);
    } while (::FindNextFileA(search, &data));
    ::FindClose(search);
}

// One value as the generator meant it: what it names, and the text written.
struct Value {
    enum Kind { File, Folder, Pattern, Link, Relative } kind;
    std::string target;   // relative path of the file, folder, shortcut, or the pattern's folder
    std::string pattern;  // for a pattern: "*.dll", "*.txt" or "*"
    std::string text;     // the spelling written to the catalogue
};

struct Entry {
    int index;
    std::vector<Value> files;   // File 1, File 2, ...: only these are listed
    std::vector<Value> unread;  // written after a gap in the numbering: never listed
    std::vector<Value> links;
};

class Catalogue {
public:
    Catalogue(unsigned seed, const std::string& root) : m_random(seed), m_root(root) {}

    // Lays out a random tree and random entries.
    void Generate()
    {
        for (const char* folder : kFolders)
            testing_support::MakeDirectories(m_root + "\\" + folder);
        for (const char* folder : kEmptyFolders) {
            if (Chance(0.5))
                testing_support::MakeDirectories(m_root + "\\" + folder);
        }
        for (const char* file : kFiles) {
            if (Chance(0.85))
                testing_support::WriteTextFile(m_root + "\\" + file);
        }
        for (const char* shortcut : kShortcuts) {
            if (Chance(0.75))
                m_shortcutTargets[shortcut] = Pick(kFiles);
        }

        // Entries 0 to 51, with the ends of the ranges often among them.
        const int count = Uniform(1, 4);
        std::set<int> indices;
        while (static_cast<int>(indices.size()) < count) {
            static const int edges[] = {0, 1, 2, 49, 50, 51};
            indices.insert(Chance(0.4) ? edges[Uniform(0, 5)] : Uniform(0, 51));
        }
        for (int index : indices) {
            Entry entry{index, {}, {}, {}};
            const int files = Uniform(0, 5);
            const int gap = Chance(0.2) ? Uniform(0, files) : files;
            for (int n = 0; n < files; ++n)
                (n < gap ? entry.files : entry.unread).push_back(RandomFileValue());
            const int links = m_shortcutTargets.empty() ? 0 : Uniform(0, 2);
            for (int n = 0; n < links; ++n)
                entry.links.push_back(RandomLinkValue(entry));
            m_entries.push_back(entry);
        }
    }

    // Copies the shortcut files from the stock (one shortcut per file of the tree, made once:
    // the shell is slow to make them) and writes the entries; false when a copy fails.
    bool Install(const std::string& productKey, const std::string& shortcutStock) const
    {
        testing_support::MakeDirectories(m_root + "\\Menu");
        for (const auto& [shortcut, target] : m_shortcutTargets) {
            if (!::CopyFileA(StockShortcut(shortcutStock, target).c_str(), (m_root + "\\" + shortcut).c_str(), FALSE))
                return false;
        }
        for (const Entry& entry : m_entries) {
            const std::string key = EntryKey(productKey, entry.index);
            int n = 1;
            for (const Value& value : entry.files)
                testing_support::SetText(key, ("File " + std::to_string(n++)).c_str(), value.text);
            ++n;  // the gap
            for (const Value& value : entry.unread)
                testing_support::SetText(key, ("File " + std::to_string(n++)).c_str(), value.text);
            n = 1;
            for (const Value& value : entry.links)
                testing_support::SetText(key, ("Link " + std::to_string(n++)).c_str(), value.text);
        }
        return true;
    }

    // The entries that a user can remove (the dialog lists 0 to 49), in a random order.
    std::vector<const Entry*> RandomRemovals()
    {
        std::vector<const Entry*> removable;
        for (const Entry& entry : m_entries) {
            if (entry.index <= 49 && Chance(0.7))
                removable.push_back(&entry);
        }
        std::shuffle(removable.begin(), removable.end(), m_random);
        return removable;
    }

    const std::vector<Entry>& Entries() const { return m_entries; }

    // The files that an entry names in the tree as it is (relative, lower case). Link values
    // are named too when links is set.
    std::set<std::string> NamedFiles(const Entry& entry, const std::map<std::string, bool>& tree, bool links) const
    {
        std::set<std::string> named;
        for (const Value& value : entry.files) {
            if (value.kind == Value::File) {
                named.insert(Lower(value.target));
            } else if (value.kind == Value::Pattern) {
                for (const auto& [path, isFolder] : tree) {
                    if (!isFolder && Parent(path) == Lower(value.target) &&
                        NameMatches(path.substr(value.target.size() + 1), value.pattern))
                        named.insert(path);
                }
            }
        }
        if (links) {
            for (const Value& value : entry.links) {
                if (value.kind == Value::Link)
                    named.insert(Lower(value.target));
            }
        }
        return named;
    }

    std::string Describe() const
    {
        std::ostringstream text;
        for (const auto& [shortcut, target] : m_shortcutTargets)
            text << "  " << shortcut << " -> " << target << "\n";
        for (const Entry& entry : m_entries) {
            text << "  App" << entry.index << ":";
            for (const Value& value : entry.files)
                text << " [" << value.text << "]";
            if (!entry.unread.empty())
                text << " (gap)";
            for (const Value& value : entry.unread)
                text << " [" << value.text << "]";
            for (const Value& value : entry.links)
                text << " link[" << value.text << "]";
            text << "\n";
        }
        return text.str();
    }

    // The stock shortcut that points at a file of the tree.
    static std::string StockShortcut(const std::string& stock, const std::string& target)
    {
        std::string name = target;
        std::replace(name.begin(), name.end(), '\\', '-');
        return stock + "\\" + name + ".lnk";
    }

    static bool MakeShortcutStock(const std::string& stock, const std::string& root)
    {
        for (const char* file : kFiles) {
            if (!MakeShortcut(StockShortcut(stock, file), root + "\\" + file))
                return false;
        }
        return true;
    }

    static std::string EntryKey(const std::string& productKey, int index)
    {
        return productKey + "\\App" + std::to_string(index);
    }

private:
    bool Chance(double probability) { return std::uniform_real_distribution<double>(0, 1)(m_random) < probability; }
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    template <size_t N>
    const char* Pick(const char* const (&items)[N])
    {
        return items[Uniform(0, static_cast<int>(N) - 1)];
    }

    Value RandomFileValue()
    {
        const int kind = Uniform(0, 10);
        if (kind == 10)
            return RandomRelativeValue();
        if (kind < 6) {
            // Often a file that an earlier entry lists: a shared file, spelled anew.
            std::string file = Pick(kFiles);
            if (!m_listedFiles.empty() && Chance(0.5))
                file = m_listedFiles[static_cast<size_t>(Uniform(0, static_cast<int>(m_listedFiles.size()) - 1))];
            m_listedFiles.push_back(file);
            return {Value::File, file, "", Spell(file, true)};
        }
        if (kind < 8) {
            const std::string folder = Pick(kFolders);
            const std::string pattern = Pick(kPatternNames);
            return {Value::Pattern, folder, pattern, Spell(folder, false) + "\\" + pattern};
        }
        const std::string folder = Chance(0.5) ? Pick(kFolders) : Pick(kEmptyFolders);
        return {Value::Folder, folder, "", Spell(folder, true)};
    }

    // A path of the tree, or a pattern in one of its folders, relative to the test's folder
    // (the current directory) in one of the ways a path can be relative.
    Value RandomRelativeValue()
    {
        std::string relative = "tree\\";
        relative += Chance(0.3) ? std::string(Pick(kFolders)) + "\\" + Pick(kPatternNames) : std::string(Pick(kFiles));
        const std::string current = m_root.substr(0, m_root.rfind('\\'));
        std::string text;
        switch (Uniform(0, 4)) {
        case 0: text = relative; break;
        case 1: text = ".\\" + relative; break;
        case 2: text = current.substr(2) + "\\" + relative; break;             // "\\..." from the drive's top
        case 3: text = current.substr(0, 2) + relative; break;                 // "C:..." on the current drive
        default: text = Chance(0.5) ? "*" : Pick(kPatternNames); break;        // the current folder itself
        }
        if (Chance(0.3))
            std::replace(text.begin(), text.end(), '\\', '/');
        return {Value::Relative, relative, "", text};
    }

    // Mostly a shortcut that points at one of the entry's own files, so that it goes.
    Value RandomLinkValue(const Entry& entry)
    {
        std::vector<std::string> own;
        for (const auto& [shortcut, target] : m_shortcutTargets) {
            for (const Value& value : entry.files) {
                if (value.kind == Value::File && value.target == target)
                    own.push_back(shortcut);
            }
        }
        if (!own.empty() && Chance(0.7)) {
            const std::string& shortcut = own[static_cast<size_t>(Uniform(0, static_cast<int>(own.size()) - 1))];
            return {Value::Link, shortcut, "", Spell(shortcut, true)};
        }
        auto at = m_shortcutTargets.begin();
        std::advance(at, Uniform(0, static_cast<int>(m_shortcutTargets.size()) - 1));
        if (Chance(0.15))
            return {Value::Relative, at->first, "", "tree\\" + at->first};
        return {Value::Link, at->first, "", Spell(at->first, true)};
    }

    // A random spelling of the absolute path of a relative one; every spelling names the same
    // file. A folder that a pattern searches gets no trailing dot or blank: the platform drops
    // those from the last name of a path only.
    std::string Spell(const std::string& relative, bool last)
    {
        const std::string plain = m_root + "\\" + relative;
        const size_t nameAt = plain.rfind('\\') + 1;
        std::string text;
        switch (Uniform(0, last ? 10 : 8)) {
        case 0: text = plain; break;
        case 1: {
            text = plain;
            std::replace(text.begin(), text.end(), '\\', '/');
            break;
        }
        case 2: text = plain.substr(0, nameAt) + "\\" + plain.substr(nameAt); break;
        case 3: text = plain.substr(0, nameAt) + ".\\" + plain.substr(nameAt); break;
        case 4: text = plain.substr(0, nameAt) + "gone\\..\\" + plain.substr(nameAt); break;
        case 5: text = Upper(plain); break;
        case 6: text = Lower(plain); break;
        case 7: {
            char shortForm[MAX_PATH];
            const DWORD length = ::GetShortPathNameA(plain.c_str(), shortForm, sizeof shortForm);
            text = length != 0 && length < sizeof shortForm ? std::string(shortForm) : plain;
            break;
        }
        case 8: text = "\\\\?\\" + plain; break;
        case 9: text = plain + "."; break;
        default: text = plain + " "; break;
        }
        return text;
    }

    std::mt19937 m_random;
    std::string m_root;
    std::map<std::string, std::string> m_shortcutTargets;  // shortcut -> target, both relative
    std::vector<Entry> m_entries;
    std::vector<std::string> m_listedFiles;
};

unsigned EnvironmentNumber(const char* name, unsigned fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// The calls of the Remove command for one selected row.
void RemoveAsTheRemoveCommandDoes(CUninstallDlg& dialog, const std::string& entryKey)
{
    dialog.RemoveEntry(entryKey.c_str());
    DeleteKeyPath(HKEY_LOCAL_MACHINE, entryKey.c_str());
}

TEST(OwnershipProperty, RemovalsKeepWhatRemainingEntriesName)
{
    const unsigned firstSeed = EnvironmentNumber("KORVANE_PROPERTY_SEED", kDefaultSeed);
    const int rounds = static_cast<int>(EnvironmentNumber("KORVANE_PROPERTY_ROUNDS", kDefaultRounds));
    ScopedTestKey product;
    ScopedTestDirectory folder;
    const std::string root = folder / "tree";
    const std::string shortcutStock = folder / "stock";
    ASSERT_TRUE(Catalogue::MakeShortcutStock(shortcutStock, root));
    // The generator must reach the cases that matter, or the invariants prove nothing.
    int deleted = 0, keptForRemaining = 0, patternMatchesKept = 0;

    for (int round = 0; round < rounds && !::testing::Test::HasFailure(); ++round) {
        const unsigned seed = firstSeed + static_cast<unsigned>(round);
        testing_support::RemoveTree(root);
        testing_support::DeleteTree(product.Path());
        ASSERT_TRUE(::SetCurrentDirectoryA(folder.Path().c_str()));
        Catalogue catalogue(seed, root);
        catalogue.Generate();
        ASSERT_TRUE(catalogue.Install(product.Path(), shortcutStock)) << "seed " << seed;
        SCOPED_TRACE("seed " + std::to_string(seed) + " (KORVANE_PROPERTY_SEED=" + std::to_string(seed) +
                     " KORVANE_PROPERTY_ROUNDS=1)\n" + catalogue.Describe());

        CUninstallDlg dialog{CString(product.Path().c_str())};
        std::set<int> removedIndices;
        for (const Entry* removed : catalogue.RandomRemovals()) {
            SCOPED_TRACE("removing App" + std::to_string(removed->index));
            std::map<std::string, bool> before, after;
            Walk(root, "", before);
            const std::set<std::string> namedByRemoved = catalogue.NamedFiles(*removed, before, true);
            const std::set<std::string> ownFiles = catalogue.NamedFiles(*removed, before, false);
            std::set<std::string> namedByRemaining;
            for (const Entry& entry : catalogue.Entries()) {
                if (entry.index == removed->index || entry.index > 50 || removedIndices.count(entry.index))
                    continue;
                const std::set<std::string> named = catalogue.NamedFiles(entry, before, true);
                namedByRemaining.insert(named.begin(), named.end());
            }

            RemoveAsTheRemoveCommandDoes(dialog, Catalogue::EntryKey(product.Path(), removed->index));
            removedIndices.insert(removed->index);
            Walk(root, "", after);

            std::set<std::string> gone;
            for (const auto& [path, isFolder] : before) {
                if (!isFolder && !after.count(path))
                    gone.insert(path);
            }
            for (const std::string& path : gone) {
                EXPECT_TRUE(namedByRemoved.count(path)) << path << " went, but the removed entry does not name it";
                EXPECT_FALSE(namedByRemaining.count(path)) << path << " went, but a remaining entry names it";
            }
            for (const auto& [path, isFolder] : before) {
                if (!isFolder || after.count(path))
                    continue;
                for (const auto& [inside, insideIsFolder] : before) {
                    if (!insideIsFolder && IsBelow(inside, path)) {
                        EXPECT_TRUE(gone.count(inside) && namedByRemoved.count(inside))
                            << "folder " << path << " went with " << inside;
                    }
                }
            }
            for (const std::string& path : ownFiles) {
                if (before.count(path) && !namedByRemaining.count(path)) {
                    EXPECT_TRUE(gone.count(path)) << path << " is the removed entry's alone, yet it stayed";
                }
            }

            deleted += static_cast<int>(gone.size());
            for (const std::string& path : ownFiles) {
                if (before.count(path) && namedByRemaining.count(path)) {
                    ++keptForRemaining;
                    for (const Value& value : removed->files) {
                        if (value.kind == Value::Pattern && Lower(value.target) == Parent(path) &&
                            NameMatches(path.substr(value.target.size() + 1), value.pattern)) {
                            ++patternMatchesKept;
                            break;
                        }
                    }
                }
            }
        }
    }

    if (::testing::Test::HasFailure())
        return;
    std::printf("%d catalogues from seed %u: %d files deleted, %d kept for remaining entries, %d of them "
                "pattern matches\n", rounds, firstSeed, deleted, keptForRemaining, patternMatchesKept);
    if (rounds >= kDefaultRounds) {
        EXPECT_GT(deleted, 0);
        EXPECT_GT(keptForRemaining, 0);
        EXPECT_GT(patternMatchesKept, 0);
    }
}

}  // namespace
