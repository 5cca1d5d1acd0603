#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/UniqueHandle.h"

namespace testing_support {

namespace {
constexpr char kTestKeyRoot[] = "SOFTWARE\\KorvaneTests";
// Every test's folder lies directly in the drive root. A pruning walk that empties a test's
// folder therefore ends at the top of the drive; below a shared parent, its tree removal would
// sweep the empty folders of tests running at the same time.
constexpr char kTestDirectoryPrefix[] = "C:\\KorvaneTest-";
}

std::string CurrentTestName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "NoTest";
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?')
            c = '_';
    }
    return name;
}

ScopedTestKey::ScopedTestKey(const std::string& suffix)
    : m_path(std::string(kTestKeyRoot) + "\\" + CurrentTestName() + suffix)
{
    DeleteTree(m_path);
}

ScopedTestKey::~ScopedTestKey()
{
    DeleteTree(m_path);
}

ScopedTestDirectory::ScopedTestDirectory(const std::string& suffix)
    : m_path(kTestDirectoryPrefix + CurrentTestName() + suffix),
      m_savedCurrentDirectory(CurrentDirectory())
{
    RemoveTree(m_path);
    MakeDirectories(m_path);
}

ScopedTestDirectory::~ScopedTestDirectory()
{
    ::SetCurrentDirectoryA(m_savedCurrentDirectory.c_str());
    RemoveTree(m_path);
}

bool KeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void SetRawValue(const std::string& keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0,
                                               KEY_WRITE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    ::RegCloseKey(key);
}

void SetText(const std::string& keyPath, const char* name, const std::string& text)
{
    SetRawValue(keyPath, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void DeleteTree(const std::string& path)
{
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    const size_t cut = path.find_last_of("\\/");
    if (cut != std::string::npos)
        MakeDirectories(path.substr(0, cut));
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

void MakeDirectories(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    // Links are removed as links, never followed.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        for (const std::string& name : FolderEntries(path))
            RemoveTree(path + "\\" + name);
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryA(path.c_str());
    } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ::RemoveDirectoryA(path.c_str());
        else
            ::DeleteFileA(path.c_str());
    }
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH * 2] = "";
    ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

std::vector<std::string> FolderEntries(const std::string& folder, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle search(::FindFirstFileA((folder + "\\" + pattern).c_str(), &found));
    if (!search)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(search.Get(), &found));
    return names;
}

}  // namespace testing_support
