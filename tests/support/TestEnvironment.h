// Fixtures for tests that work on the real registry and file system of the Wine prefix.
// Every test gets its own key and folder, named after the test, wiped before and after.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// "Suite.Test" of the running test, usable as a key or folder name.
std::string CurrentTestName();

// A key below HKEY_LOCAL_MACHINE\SOFTWARE\KorvaneTests of the test's own.
class ScopedTestKey {
public:
    explicit ScopedTestKey(const std::string& suffix = "");
    ~ScopedTestKey();
    ScopedTestKey(const ScopedTestKey&) = delete;
    ScopedTestKey& operator=(const ScopedTestKey&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// A folder C:\KorvaneTest-<test> of the test's own. The current directory is put back as it
// was before the folder is wiped, so that nothing holds the folder open.
class ScopedTestDirectory {
public:
    explicit ScopedTestDirectory(const std::string& suffix = "");
    ~ScopedTestDirectory();
    ScopedTestDirectory(const ScopedTestDirectory&) = delete;
    ScopedTestDirectory& operator=(const ScopedTestDirectory&) = delete;
    const std::string& Path() const { return m_path; }
    // The folder's path joined with a relative one (backslashes).
    std::string operator/(const std::string& relative) const { return m_path + "\\" + relative; }

private:
    std::string m_path;
    std::string m_savedCurrentDirectory;
};

// Registry helpers, all below HKEY_LOCAL_MACHINE; they call the platform directly.
bool KeyExists(const std::string& path);
void SetRawValue(const std::string& keyPath, const char* name, DWORD type, const void* data, DWORD size);
void SetText(const std::string& keyPath, const char* name, const std::string& text);
void DeleteTree(const std::string& path);

// File helpers.
void WriteTextFile(const std::string& path, const std::string& text = "x");
void MakeDirectories(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
void RemoveTree(const std::string& path);
std::string CurrentDirectory();
// The names that a search of the folder yields, in the platform's order, "." and ".." left
// out; empty when nothing matches or the folder is missing.
std::vector<std::string> FolderEntries(const std::string& folder, const char* pattern = "*");

}  // namespace testing_support
