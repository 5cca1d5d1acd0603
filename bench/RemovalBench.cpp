// Times one file pass over one catalogue entry against the bare deletion of the same files,
// in the same run, and counts the registry calls that the pass makes.
//
// Usage: RemovalBench [repetitions] [N] [K...]   (defaults: 5 200 5 50)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "registry/RegistryCalls.h"
#include "ui/UninstallDlg.h"

namespace {

constexpr char kProductKey[] = "SOFTWARE\\KorvaneBench\\Korvane Version 7.0";
constexpr char kFolder[] = "C:\\KorvaneBench";

// Every fifth file of the removed entry is shared with the last entry of the catalogue.
constexpr int kShareEvery = 5;

// --- Counting registry calls through the seam ---

struct Counts {
    long long rootOpens = 0;  // one per key path walked, so one per value read
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

// Entries 1..K with N File values each; entry 1 is the one removed, and entry K lists every
// fifth of its files too.
void BuildCatalogue(int entries, int files)
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

// The removed entry's files, and copies of the ones that the pass deletes.
std::vector<std::string> MakeFiles(int entries, int files)
{
    ::CreateDirectoryA(kFolder, nullptr);
    ::CreateDirectoryA((std::string(kFolder) + "\\App1").c_str(), nullptr);
    ::CreateDirectoryA((std::string(kFolder) + "\\Copies").c_str(), nullptr);
    std::vector<std::string> copies;
    for (int n = 1; n <= files; ++n) {
        WriteFile(AppFile(1, n));
        const bool shared = entries > 1 && n % kShareEvery == 0;
        if (!shared) {
            copies.push_back(std::string(kFolder) + "\\Copies\\f" + std::to_string(n) + ".dat");
            WriteFile(copies.back());
        }
    }
    // A file above, so that no walk leaves the bench folder.
    WriteFile(std::string(kFolder) + "\\keep.txt");
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

struct Run {
    double passSeconds;
    double bareSeconds;
    Counts counts;
    int deleted;
};

Run RunOnce(int entries, int files)
{
    const std::vector<std::string> copies = MakeFiles(entries, files);
    ::SetCurrentDirectoryA(kFolder);
    Run run{};

    // Baseline: the bare deletions, nothing else.
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (const std::string& copy : copies)
        ::DeleteFileA(copy.c_str());
    ::QueryPerformanceCounter(&end);
    run.bareSeconds = Seconds(start, end);

    RegistryCalls counting = PlatformRegistryCalls();
    counting.openKey = &CountingOpen;
    counting.queryValue = &CountingQuery;
    counting.closeKey = &CountingClose;
    g_counts = Counts{};
    SetRegistryCallsForTesting(&counting);

    CUninstallDlg dialog(kProductKey);
    const CString entryKey(EntryKey(1).c_str());
    ::QueryPerformanceCounter(&start);
    dialog.RemoveEntryFiles(entryKey);
    ::QueryPerformanceCounter(&end);
    run.passSeconds = Seconds(start, end);

    SetRegistryCallsForTesting(nullptr);
    run.counts = g_counts;
    for (int n = 1; n <= files; ++n)
        run.deleted += ::GetFileAttributesA(AppFile(1, n).c_str()) == INVALID_FILE_ATTRIBUTES;

    ::SetCurrentDirectoryA("C:\\");
    RemoveFolder(kFolder);
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 5;
    const int files = argc > 2 ? std::atoi(argv[2]) : 200;
    std::vector<int> entryCounts;
    for (int i = 3; i < argc; ++i)
        entryCounts.push_back(std::atoi(argv[i]));
    if (entryCounts.empty())
        entryCounts = {5, 50};

    std::printf("One RemoveEntryFiles pass over an entry of N files (every %dth shared with another entry)\n"
                "against a plain DeleteFileA loop over copies of the files that the pass deletes.\n"
                "Medians of %d repetitions.\n\n",
                kShareEvery, repetitions);
    std::printf("%4s %5s %8s %12s %12s %10s %12s %12s %12s\n", "K", "N", "deleted", "pass ms", "bare ms", "ratio",
                "reads", "reg calls", "reads/file");
    for (int entries : entryCounts) {
        BuildCatalogue(entries, files);
        std::vector<double> pass, bare, ratio;
        Run last{};
        for (int r = 0; r < repetitions; ++r) {
            last = RunOnce(entries, files);
            pass.push_back(last.passSeconds * 1000);
            bare.push_back(last.bareSeconds * 1000);
            ratio.push_back(last.passSeconds / last.bareSeconds);
            std::fprintf(stderr, "  K=%d repetition %d: pass %.1f ms, bare %.2f ms, ratio %.0f\n", entries, r + 1,
                         pass.back(), bare.back(), ratio.back());
            std::fflush(stderr);
        }
        const long long calls = last.counts.opens + last.counts.queries + last.counts.closes;
        std::printf("%4d %5d %8d %12.1f %12.2f %10.0f %12lld %12lld %12.0f\n", entries, files, last.deleted,
                    Median(pass), Median(bare), Median(ratio), last.counts.rootOpens, calls,
                    double(last.counts.rootOpens) / files);
        std::fflush(stdout);
    }
    DeleteCatalogue();
    return 0;
}
