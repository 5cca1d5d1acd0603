// The two waits a user of the uninstaller sees, each against a baseline measured in the same
// run, with the real program driven through its windows:
//  1. start-up: from process start until the dialog shows all rows of a 50-entry catalogue,
//     against the start of a bare dialog program that shows 50 rows (MinimalDialog);
//  2. the Remove command for one application of 200 files, from the Yes of the confirmation
//     until the completion notice shows, in catalogues of 5 and of 50 entries, against the bare
//     deletion of the same 200 files.
// Medians of the repetitions; ratios are taken per repetition and their median printed.
//
// Usage: UserWaitsBench [start-up repetitions] [Remove repetitions]   (defaults: 11 3)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "tests/support/Installer.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UninstallerDriver.h"

using namespace testing_support;

namespace {

constexpr char kFolder[] = "C:\\KorvaneUserWaits";
constexpr int kListedEntries = 50;
constexpr int kRemovedFiles = 200;
// Every other entry lists this many files of its own, as a small application would.
constexpr int kOtherEntryFiles = 3;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "UserWaitsBench: %s\n", what.c_str());
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    std::exit(1);
}

std::string OwnFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// An entry named after its index, in a folder of its own, listing some files of its own.
Application Entry(int index, int files)
{
    Application application;
    application.index = index;
    application.name = "Application " + std::to_string(index);
    application.directory = std::string(kFolder) + "\\App" + std::to_string(index);
    for (int n = 0; n < files; ++n)
        application.files.push_back(application.directory + "\\file" + std::to_string(n) + ".dat");
    application.copyUninstaller = false;
    return application;
}

// A catalogue of the given number of entries, App0 upwards; App1 is the one to remove and
// App2 is the one whose uninstaller runs. Returns the uninstaller to start.
std::string InstallCatalogue(int entries, int removedFiles)
{
    RemoveProductKey();
    RemoveTree(kFolder);
    std::string error = InstallProduct("English");
    for (int index = 0; error.empty() && index < entries; ++index) {
        Application application = Entry(index, index == 1 ? removedFiles : kOtherEntryFiles);
        application.copyUninstaller = index == 2;
        error = InstallApplication(application, TEST_UNINSTALL_EXE);
    }
    if (!error.empty())
        Fail(error);
    return Entry(2, 0).Uninstaller();
}

// Starts the program and waits, polling as tightly as the scheduler allows, until its dialog
// is visible with all rows; returns the milliseconds from the start.
double TimeToRows(const std::string& program, const std::string& caption, int rows)
{
    UninstallerProcess process;
    const LARGE_INTEGER start = Now();
    if (!process.Start(program))
        Fail("cannot start " + program);
    HWND dialog = nullptr;
    const bool shown = WaitUntil(
        [&] {
            if (!dialog)
                dialog = FindVisibleWindow(process.Id(), caption);
            return dialog && UninstallerDialog(dialog).RowCount() == rows;
        },
        30000);
    const LARGE_INTEGER end = Now();
    if (!shown)
        Fail(caption + " never showed its rows");
    process.Kill();
    return Milliseconds(start, end);
}

void BenchStartUp(int repetitions)
{
    const std::string uninstaller = InstallCatalogue(kListedEntries, 1);
    const std::string minimal = OwnFolder() + "\\MinimalDialog.exe";
    std::vector<double> program, bare, ratio;
    for (int i = 0; i < repetitions; ++i) {
        // Alternating, so that drift of the machine falls on both alike.
        const double b = TimeToRows(minimal, "Minimal Dialog", kListedEntries);
        const double p = TimeToRows(uninstaller, kEnglishCaption, kListedEntries);
        program.push_back(p);
        bare.push_back(b);
        ratio.push_back(p / b);
    }
    std::printf("Start-up until the dialog shows %d rows (medians of %d):\n", kListedEntries, repetitions);
    std::printf("  uninstaller, catalogue of %d entries   %8.1f ms\n", kListedEntries, Median(program));
    std::printf("  bare dialog program with %d rows      %8.1f ms\n", kListedEntries, Median(bare));
    std::printf("  ratio                                  %8.2f\n\n", Median(ratio));
}

// One Remove of App1 through the dialog; the milliseconds from Yes to the completion notice.
double TimeRemove(int entries)
{
    const std::string uninstaller = InstallCatalogue(entries, kRemovedFiles);
    const Application removed = Entry(1, kRemovedFiles);
    UninstallerProcess process;
    if (!process.Start(uninstaller))
        Fail("cannot start " + uninstaller);
    const UninstallerDialog dialog = WaitForDialog(process, kEnglishCaption);
    if (!dialog)
        Fail("no dialog");
    int row = -1;
    for (int r = 0; r < dialog.RowCount(); ++r) {
        if (dialog.RowData(r) == 1)
            row = r;
    }
    if (row < 0)
        Fail("App1 is not listed");
    dialog.SelectRow(row);
    if (!WaitUntil([&] { return dialog.IsRemoveEnabled(); }))
        Fail("Remove never became enabled");
    dialog.PressRemove();
    const MessageBoxWindow confirmation = WaitForMessageBox(process.Id());
    if (!confirmation)
        Fail("no confirmation");

    const LARGE_INTEGER start = Now();
    confirmation.Press(IDYES);
    HWND done = nullptr;
    const bool finished = WaitUntil(
        [&] {
            const HWND box = FindMessageBox(process.Id()).Handle();
            if (box && box != confirmation.Handle())
                done = box;
            return done != nullptr;
        },
        600000);
    const LARGE_INTEGER end = Now();
    if (!finished)
        Fail("no completion notice");
    for (const std::string& file : removed.files) {
        if (FileExists(file))
            Fail("the Remove command left " + file);
    }
    process.Kill();
    return Milliseconds(start, end);
}

double TimeBareDeletion()
{
    const Application removed = Entry(1, kRemovedFiles);
    RemoveTree(kFolder);
    for (const std::string& file : removed.files) {
        const std::string folder = file.substr(0, file.find_last_of('\\'));
        MakeDirectories(folder);
        HANDLE handle = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            Fail("cannot create " + file);
        ::CloseHandle(handle);
    }
    const LARGE_INTEGER start = Now();
    for (const std::string& file : removed.files)
        ::DeleteFileA(file.c_str());
    return Milliseconds(start, Now());
}

void BenchRemove(int repetitions)
{
    std::printf("Remove of one application of %d files, from Yes to the completion notice (medians of %d):\n",
                kRemovedFiles, repetitions);
    std::printf("  %-26s %12s %12s %10s\n", "catalogue", "Remove ms", "bare ms", "ratio");
    for (int entries : {5, 50}) {
        std::vector<double> remove, bare, ratio;
        for (int i = 0; i < repetitions; ++i) {
            const double b = TimeBareDeletion();
            const double r = TimeRemove(entries);
            remove.push_back(r);
            bare.push_back(b);
            ratio.push_back(r / b);
        }
        std::printf("  %2d entries (%d files each) %12.1f %12.2f %10.0f\n", entries, kOtherEntryFiles,
                    Median(remove), Median(bare), Median(ratio));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int startUpRepetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const int removeRepetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    BenchStartUp(startUpRepetitions);
    BenchRemove(removeRepetitions);
    RemoveProductKey();
    RemoveTree(kFolder);
    return 0;
}
