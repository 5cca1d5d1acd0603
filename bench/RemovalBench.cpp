// Times the removal of one catalogue entry (its shortcuts and its files) against two
// baselines measured in the same run: the bare deletion of the same files, and the least
// reading any sound removal must do (every File value of the catalogue read once, through one
// opened key per entry). Counts the registry calls that the removal makes, and what bringing
// paths to the form they are compared by costs it: the platform's full-path and long-name
// look-ups that it makes, counted and timed, and a third figure of the same repetition, every
// value of the catalogue brought to that form once.
//
// Usage: RemovalBench [--per-value] [repetitions] [N:K[:L]...]
//   N files in each of K entries, L shortcuts of the removed entry (default 0).
//   Defaults: 5 repetitions, 200:5 200:50 2000:10:10.
//   --per-value times the passes that read every value when needed (as before the one-read
//   removal) instead; it refuses N > 200, which would take hours.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "registry/RegistryCalls.h"
#include "removal/PathIdentity.h"
#include "tests/support/Shortcut.h"
#include "ui/UninstallDlg.h"

namespace {

constexpr char kProductKey[] = "SOFTWARE\\KorvaneBench\\Korvane Version 7.0";
constexpr char kFolder[] = "C:\\KorvaneBench";

// Every fifth file of the removed entry is shared with the last entry of the catalogue.
constexpr int kShareEvery = 5;

// --- Counting registry calls through the seam ---

struct Counts {
    long long rootOpens = 0;  // one per key path walked
    long long opens = 0;
    long long queries = 0;
    long long closes = 0;
};
Counts g_counts;

LONG WINAPI CountingOpen(HKEY key, LPCSTR name, DWORD options, REGSAM access, PHKEY result)
{
    ++g_counts.opens;
    if (key == HKEY_LOCAL_MACHINE)
        ++g_counts.rootOpens;
    return ::RegOpenKeyExA(key, name, options, access, result);
}

LONG WINAPI CountingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    ++g_counts.queries;
    return ::RegQueryValueExA(key, name, reserved, type, data, size);
}

LONG WINAPI CountingClose(HKEY key)
{
    ++g_counts.closes;
    return ::RegCloseKey(key);
}

// --- Counting the path look-ups of the identity step ---
//
// The identity step (PathIdentity) asks the platform for the full path form of every absolute
// path and for the long form of one holding a "~". Both calls go through this program's import
// table, which is pointed at counting stand-ins for the time of the removal only.

struct PathCalls {
    long long fullPath = 0;
    long long longPath = 0;
    double seconds = 0;  // spent inside both
};
PathCalls g_pathCalls;
// The platform's functions, as the import table held them: "&::GetFullPathNameA" may name a
// stub that jumps through the import table, which would lead back to the stand-in.
decltype(&::GetFullPathNameA) g_platformFullPath = nullptr;
decltype(&::GetLongPathNameA) g_platformLongPath = nullptr;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to);

DWORD WINAPI CountingFullPath(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart)
{
    ++g_pathCalls.fullPath;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    const DWORD result = g_platformFullPath(name, size, buffer, filePart);
    ::QueryPerformanceCounter(&end);
    g_pathCalls.seconds += Seconds(start, end);
    return result;
}

DWORD WINAPI CountingLongPath(LPCSTR shortPath, LPSTR longPath, DWORD size)
{
    ++g_pathCalls.longPath;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    const DWORD result = g_platformLongPath(shortPath, longPath, size);
    ::QueryPerformanceCounter(&end);
    g_pathCalls.seconds += Seconds(start, end);
    return result;
}

// Points this program's import of the named function at replacement; returns what it held
// (null when the program does not import the function by that name).
void* SwapImport(const char* function, void* replacement)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         module->Name != 0; ++module) {
        if (module->OriginalFirstThunk == 0)
            continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            DWORD protection = 0;
            ::VirtualProtect(&addresses->u1.Function, sizeof addresses->u1.Function, PAGE_READWRITE, &protection);
            void* previous = reinterpret_cast<void*>(addresses->u1.Function);
            addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&addresses->u1.Function, sizeof addresses->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

// Counts the look-ups while it lives.
class CountedPathCalls {
public:
    CountedPathCalls()
    {
        g_pathCalls = PathCalls{};
        m_fullPath = SwapImport("GetFullPathNameA", reinterpret_cast<void*>(&CountingFullPath));
        m_longPath = SwapImport("GetLongPathNameA", reinterpret_cast<void*>(&CountingLongPath));
        if (!m_fullPath || !m_longPath) {
            std::fprintf(stderr, "the path look-ups are not imported by name; cannot count them\n");
            std::exit(1);
        }
        g_platformFullPath = reinterpret_cast<decltype(&::GetFullPathNameA)>(m_fullPath);
        g_platformLongPath = reinterpret_cast<decltype(&::GetLongPathNameA)>(m_longPath);
    }
    ~CountedPathCalls()
    {
        SwapImport("GetFullPathNameA", m_fullPath);
        SwapImport("GetLongPathNameA", m_longPath);
    }

private:
    void* m_fullPath;
    void* m_longPath;
};

// --- Catalogue and files ---

std::string EntryKey(int index)
{
    return std::string(kProductKey) + "\\App" + std::to_string(index);
}

std::string AppFile(int entry, int n)
{
    return std::string(kFolder) + "\\App" + std::to_string(entry) + "\\f" + std::to_string(n) + ".dat";
}

void SetValue(HKEY key, const std::string& name, const std::string& text)
{
    ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
}

void DeleteCatalogue()
{
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KorvaneBench");
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KorvaneBench");
}

std::string LinkFile(int n)
{
    return std::string(kFolder) + "\\Menu\\App1 " + std::to_string(n) + ".lnk";
}

// Entries 1..K with N File values and L Link values each; entry 1 is the one removed, and
// entry K lists every fifth of its files too.
void BuildCatalogue(int entries, int files, int links)
{
    DeleteCatalogue();
    for (int entry = 1; entry <= entries; ++entry) {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, EntryKey(entry).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr) != ERROR_SUCCESS) {
            std::fprintf(stderr, "cannot create %s\n", EntryKey(entry).c_str());
            std::exit(1);
        }
        for (int n = 1; n <= files; ++n) {
            const bool shared = entry == entries && entries > 1 && n % kShareEvery == 0;
            SetValue(key, "File " + std::to_string(n), shared ? AppFile(1, n) : AppFile(entry, n));
        }
        for (int n = 1; n <= links; ++n)
            SetValue(key, "Link " + std::to_string(n),
                     entry == 1 ? LinkFile(n) : std::string(kFolder) + "\\Menu\\App" + std::to_string(entry) + ".lnk");
        ::RegCloseKey(key);
    }
}

void WriteFile(const std::string& path)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        std::exit(1);
    }
    DWORD written = 0;
    ::WriteFile(file, "x", 1, &written, nullptr);
    ::CloseHandle(file);
}

// The removed entry's files and shortcuts, and two copies of that layout: in each, the copies
// of what the removal deletes are listed (the copies of the shared files stay beside them, so
// that each deletion meets a folder as full as the removal does).
struct Copies {
    std::vector<std::string> bare;    // for the plain DeleteFileA loop
    std::vector<std::string> pruned;  // for the deletions with their pruning walks
};

Copies MakeFiles(int entries, int files, int links)
{
    const std::string folder = kFolder;
    for (const char* sub : {"", "\\App1", "\\Bare", "\\Bare\\App1", "\\Pruned", "\\Pruned\\App1"})
        ::CreateDirectoryA((folder + sub).c_str(), nullptr);
    Copies copies;
    for (int n = 1; n <= links; ++n) {
        if (!testing_support::MakeShortcut(LinkFile(n), AppFile(1, n))) {
            std::fprintf(stderr, "cannot create %s\n", LinkFile(n).c_str());
            std::exit(1);
        }
        for (auto [copy, list] : {std::pair{"\\Bare\\Menu", &copies.bare}, std::pair{"\\Pruned\\Menu", &copies.pruned}}) {
            ::CreateDirectoryA((folder + copy).c_str(), nullptr);
            list->push_back(folder + copy + "\\l" + std::to_string(n) + ".lnk");
            WriteFile(list->back());
        }
    }
    for (int n = 1; n <= files; ++n) {
        WriteFile(AppFile(1, n));
        const bool shared = entries > 1 && n % kShareEvery == 0;
        for (auto [copy, list] : {std::pair{"\\Bare\\App1", &copies.bare}, std::pair{"\\Pruned\\App1", &copies.pruned}}) {
            const std::string path = folder + copy + "\\f" + std::to_string(n) + ".dat";
            WriteFile(path);
            if (!shared)
                list->push_back(path);
        }
    }
    // A file above, so that no walk leaves the bench folder.
    WriteFile(folder + "\\keep.txt");
    return copies;
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path);
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The least reading: every File value of entries 0 to 50, each entry key opened once and each
// value fetched with one query into a MAX_PATH buffer. Returns the values read.
long long ReadEveryFileValue()
{
    long long values = 0;
    for (int entry = 0; entry <= 50; ++entry) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryKey(entry).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        for (int n = 1;; ++n) {
            char buffer[MAX_PATH];
            DWORD size = sizeof buffer;
            if (::RegQueryValueExA(key, ("File " + std::to_string(n)).c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
                break;
            ++values;
        }
        ::RegCloseKey(key);
    }
    return values;
}

// The identity step on its own: every File and Link value of entries 0 to 50 brought to the
// form in which it is compared, once, as one read of the removal does (the values read
// beforehand, not timed). Returns the values.
long long IdentifyEveryValue(double& seconds)
{
    std::vector<std::string> values;
    for (int entry = 0; entry <= 50; ++entry) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryKey(entry).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        for (const char* list : {"File ", "Link "}) {
            for (int n = 1;; ++n) {
                char buffer[MAX_PATH];
                DWORD size = sizeof buffer;
                if (::RegQueryValueExA(key, (list + std::to_string(n)).c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
                    break;
                values.emplace_back(buffer, strnlen(buffer, size));
            }
        }
        ::RegCloseKey(key);
    }
    LARGE_INTEGER start, end;
    size_t length = 0;  // used, so that nothing is left out
    ::QueryPerformanceCounter(&start);
    for (const std::string& value : values)
        length += static_cast<size_t>(PathIdentity(value.c_str()).GetLength());
    ::QueryPerformanceCounter(&end);
    seconds = Seconds(start, end);
    return length ? static_cast<long long>(values.size()) : 0;
}

SIZE_T PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

struct Run {
    double removalSeconds;
    double bareSeconds;
    double readSeconds;
    double pruneSeconds;
    double identitySeconds;  // every value of the catalogue brought to its form once
    long long valuesRead;  // by the least reading
    long long valuesIdentified;
    Counts counts;
    PathCalls pathCalls;       // of the removal
    PathCalls prunePathCalls;  // of the same deletions without the catalogue
    int deleted;
    SIZE_T peakBefore;
    SIZE_T peakAfter;
};

Run RunOnce(int entries, int files, int links, bool perValue)
{
    const Copies copies = MakeFiles(entries, files, links);
    ::SetCurrentDirectoryA(kFolder);
    Run run{};

    // Baseline 1: the bare deletions, nothing else.
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (const std::string& copy : copies.bare)
        ::DeleteFileA(copy.c_str());
    ::QueryPerformanceCounter(&end);
    run.bareSeconds = Seconds(start, end);

    // Not a baseline but the share of the deletions themselves: the same deletions, each with
    // its pruning walk, without the catalogue.
    CUninstallApp* app = static_cast<CUninstallApp*>(AfxGetApp());
    {
        const CountedPathCalls counted;
        ::QueryPerformanceCounter(&start);
        for (const std::string& copy : copies.pruned)
            app->DeletePathAndPruneParents(copy.c_str());
        ::QueryPerformanceCounter(&end);
    }
    run.prunePathCalls = g_pathCalls;
    run.pruneSeconds = Seconds(start, end);

    // Baseline 2: the least reading of the catalogue.
    ::QueryPerformanceCounter(&start);
    run.valuesRead = ReadEveryFileValue();
    ::QueryPerformanceCounter(&end);
    run.readSeconds = Seconds(start, end);

    run.valuesIdentified = IdentifyEveryValue(run.identitySeconds);

    RegistryCalls counting = PlatformRegistryCalls();
    counting.openKey = &CountingOpen;
    counting.queryValue = &CountingQuery;
    counting.closeKey = &CountingClose;
    g_counts = Counts{};
    SetRegistryCallsForTesting(&counting);

    CUninstallDlg dialog(kProductKey);
    const CString entryKey(EntryKey(1).c_str());
    run.peakBefore = PeakWorkingSet();
    {
        const CountedPathCalls counted;
        ::QueryPerformanceCounter(&start);
        if (perValue) {
            dialog.RemoveEntryLinks(entryKey);
            dialog.RemoveEntryFiles(entryKey);
        } else {
            dialog.RemoveEntry(entryKey);
        }
        ::QueryPerformanceCounter(&end);
    }
    run.pathCalls = g_pathCalls;
    run.peakAfter = PeakWorkingSet();
    run.removalSeconds = Seconds(start, end);

    SetRegistryCallsForTesting(nullptr);
    run.counts = g_counts;
    for (int n = 1; n <= files; ++n)
        run.deleted += ::GetFileAttributesA(AppFile(1, n).c_str()) == INVALID_FILE_ATTRIBUTES;
    for (int n = 1; n <= links; ++n)
        run.deleted += ::GetFileAttributesA(LinkFile(n).c_str()) == INVALID_FILE_ATTRIBUTES;
    if (run.deleted != static_cast<int>(copies.bare.size())) {
        std::fprintf(stderr, "the removal deleted %d, expected %d\n", run.deleted, static_cast<int>(copies.bare.size()));
        std::exit(1);
    }

    ::SetCurrentDirectoryA("C:\\");
    RemoveFolder(kFolder);
    return run;
}

struct Catalogue {
    int files;
    int entries;
    int links;
};

}  // namespace

int main(int argc, char** argv)
{
    int arg = 1;
    const bool perValue = argc > arg && std::string(argv[arg]) == "--per-value";
    arg += perValue;
    const int repetitions = argc > arg ? std::atoi(argv[arg++]) : 5;
    std::vector<Catalogue> catalogues;
    for (; arg < argc; ++arg) {
        Catalogue c{0, 0, 0};
        if (std::sscanf(argv[arg], "%d:%d:%d", &c.files, &c.entries, &c.links) < 2 || c.files < 1 || c.entries < 1) {
            std::fprintf(stderr, "a catalogue is N:K or N:K:L, not %s\n", argv[arg]);
            return 2;
        }
        catalogues.push_back(c);
    }
    if (catalogues.empty())
        catalogues = {{200, 5, 0}, {200, 50, 0}, {2000, 10, 10}};
    if (perValue) {
        for (const Catalogue& c : catalogues) {
            if (c.files > 200) {
                std::fprintf(stderr, "--per-value with N = %d would take hours\n", c.files);
                return 2;
            }
        }
    }

    std::printf("The removal of one entry (%s) of N files and L shortcuts in a catalogue of K entries\n"
                "of N files each (every %dth file of the removed entry listed by another entry too),\n"
                "against two baselines of the same repetition: bare = a plain DeleteFileA loop over\n"
                "copies of what the removal deletes; read = every File value of the catalogue read once,\n"
                "one opened key per entry. prune = the same deletions through DeletePathAndPruneParents,\n"
                "each with its pruning walk, without the catalogue (not a baseline: the share of the\n"
                "deletions). Medians of %d repetitions; ratios per repetition.\n\n",
                perValue ? "the passes reading every value when needed" : "one read, watched", kShareEvery,
                repetitions);
    std::printf("%4s %5s %3s %7s %11s %9s %9s %9s %8s %8s %8s %8s %8s %9s %8s %9s\n", "K", "N", "L", "deleted",
                "removal ms", "bare ms", "read ms", "prune ms", "x bare", "x read", "x(b+r)", "x(p+r)", "values",
                "queries", "q/value", "reg calls");
    for (const Catalogue& c : catalogues) {
        BuildCatalogue(c.entries, c.files, c.links);
        std::vector<double> removal, bare, read, prune, toBare, toRead, toBoth, toPrunedBoth, identity, identityShare,
            lookUps, lookUpShare;
        Run last{};
        SIZE_T peakGrowth = 0;
        for (int r = 0; r < repetitions; ++r) {
            last = RunOnce(c.entries, c.files, c.links, perValue);
            removal.push_back(last.removalSeconds * 1000);
            bare.push_back(last.bareSeconds * 1000);
            read.push_back(last.readSeconds * 1000);
            prune.push_back(last.pruneSeconds * 1000);
            toPrunedBoth.push_back(last.removalSeconds / (last.pruneSeconds + last.readSeconds));
            toBare.push_back(last.removalSeconds / last.bareSeconds);
            toRead.push_back(last.removalSeconds / last.readSeconds);
            toBoth.push_back(last.removalSeconds / (last.bareSeconds + last.readSeconds));
            identity.push_back(last.identitySeconds * 1000);
            identityShare.push_back(last.identitySeconds / last.removalSeconds);
            lookUps.push_back(last.pathCalls.seconds * 1000);
            lookUpShare.push_back(last.pathCalls.seconds / last.removalSeconds);
            peakGrowth = std::max(peakGrowth, last.peakAfter - last.peakBefore);
            std::fprintf(stderr, "  K=%d N=%d repetition %d: removal %.1f ms, bare %.2f ms, read %.1f ms, prune %.1f ms\n",
                         c.entries, c.files, r + 1, removal.back(), bare.back(), read.back(), prune.back());
            std::fflush(stderr);
        }
        const long long calls = last.counts.opens + last.counts.queries + last.counts.closes;
        std::printf("%4d %5d %3d %7d %11.1f %9.2f %9.1f %9.1f %8.1f %8.2f %8.2f %8.2f %8lld %9lld %8.3f %9lld\n",
                    c.entries, c.files, c.links, last.deleted, Median(removal), Median(bare), Median(read),
                    Median(prune), Median(toBare), Median(toRead), Median(toBoth), Median(toPrunedBoth),
                    last.valuesRead, last.counts.queries, double(last.counts.queries) / double(last.valuesRead),
                    calls);
        std::printf("%*s identity step: every value of the catalogue (%lld) brought to its form once %.2f ms, "
                    "%.1f%% of the removal\n", 20, "", last.valuesIdentified, Median(identity),
                    100 * Median(identityShare));
        std::printf("%*s path look-ups of the removal: %lld GetFullPathNameA, %lld GetLongPathNameA, %.2f ms inside "
                    "them (%.1f%% of the removal); the same deletions without the catalogue make %lld and %lld\n",
                    20, "", last.pathCalls.fullPath, last.pathCalls.longPath, Median(lookUps),
                    100 * Median(lookUpShare), last.prunePathCalls.fullPath, last.prunePathCalls.longPath);
        std::printf("%*s peak working set %.1f MB after the removal, of which at most %.1f MB grew during it\n", 20,
                    "", double(last.peakAfter) / (1024.0 * 1024.0), double(peakGrowth) / (1024.0 * 1024.0));
        std::fflush(stdout);
    }
    DeleteCatalogue();
    return 0;
}
