// A catalogue written the way the product's installers write it: the product key below
// HKEY_LOCAL_MACHINE with its language and display name, one entry key per application
// (App<n>) naming the application, its directory, its files and its shortcuts, and on disk
// the files themselves, the shortcuts and a copy of the uninstaller in each application's
// directory. Shared by the end-to-end tests, the benchmark and the demo catalogue tool, so it
// reports failures as text instead of asserting.
#pragma once
#include <string>
#include <vector>

namespace testing_support {

// The product key that the uninstaller reads: fixed, below HKEY_LOCAL_MACHINE.
extern const char kProductKey[];
// The name shown by the platform's list of installed software.
extern const char kProductDisplayName[];

struct Shortcut {
    std::string link;    // the shortcut file, listed as "Link n"
    std::string target;  // what it points at
};

struct Application {
    int index = 1;                    // entry key App<index>
    std::string name;                 // "AppName"
    std::string directory;            // "Directory": a full path without trailing separator
    std::vector<std::string> files;   // "File 1", "File 2", ...; each written as a small file
    std::vector<Shortcut> shortcuts;  // "Link 1", "Link 2", ...; each made with the shell
    bool copyUninstaller = true;      // puts <directory>\Uninstall.exe on disk (not listed)

    std::string Uninstaller() const { return directory + "\\Uninstall.exe"; }
    std::string EntryKey() const;
};

// Writes the product key with "Language" (left out when empty) and "DisplayName".
// Each function returns an empty text on success, otherwise what failed.
std::string InstallProduct(const std::string& language);
// Writes an application's files, shortcuts and uninstaller copy, then its entry key, and
// points "UninstallString" at its uninstaller, as each of the installers does last.
std::string InstallApplication(const Application& application, const std::string& uninstallerSource);

// Deletes the product key with everything below it.
void RemoveProductKey();
bool RegistryKeyExists(const std::string& path);
// A text value below HKEY_LOCAL_MACHINE; empty when it cannot be read.
std::string ReadRegistryText(const std::string& keyPath, const char* valueName);
std::string WriteRegistryText(const std::string& keyPath, const char* valueName, const std::string& text);

// The product key is shared by every run of the real program: wiped on entry and on exit.
class ScopedProductKey {
public:
    ScopedProductKey() { RemoveProductKey(); }
    ~ScopedProductKey() { RemoveProductKey(); }
    ScopedProductKey(const ScopedProductKey&) = delete;
    ScopedProductKey& operator=(const ScopedProductKey&) = delete;
};

}  // namespace testing_support
