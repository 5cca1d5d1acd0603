#include "tests/support/HandOff.h"

#include <windows.h>

#include <cctype>

#include "tests/support/TestEnvironment.h"

namespace testing_support {

namespace {

constexpr wchar_t kSessionManagerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingValue[] = L"PendingFileRenameOperations";

std::string LongForm(const std::string& path)
{
    char buffer[MAX_PATH * 2];
    const DWORD length = ::GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

std::string Narrow(const std::wstring& text)
{
    char buffer[MAX_PATH * 2];
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return length > 0 ? std::string(buffer) : std::string();
}

// The pairs of the value: a source path in NT form ("\??\C:\...") and a target, empty for
// a deletion.
std::vector<std::wstring> PendingOperations()
{
    std::vector<std::wstring> items;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return items;
    DWORD type = 0;
    DWORD size = 0;
    std::vector<wchar_t> data;
    if (::RegQueryValueExW(key, kPendingValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_MULTI_SZ) {
        data.resize(size / sizeof(wchar_t) + 2, L'\0');
        ::RegQueryValueExW(key, kPendingValue, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    ::RegCloseKey(key);
    // Empty strings are items here (a deletion's target): walk by the stored size.
    const size_t count = size / sizeof(wchar_t);
    for (size_t at = 0; at < count;) {
        const std::wstring item = data.data() + at;
        items.push_back(item);
        at += item.size() + 1;
    }
    return items;
}

}  // namespace

bool IsHandOffFolderName(const std::string& name)
{
    if (name.size() != 35 || name.compare(0, 3, "Del") != 0)
        return false;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

std::vector<std::string> HandOffFolders(const std::string& temporaryDirectory)
{
    std::vector<std::string> folders;
    for (const std::string& name : FolderEntries(temporaryDirectory, "Del*")) {
        const std::string path = temporaryDirectory + "\\" + name;
        if (IsHandOffFolderName(name) && DirectoryExists(path))
            folders.push_back(path);
    }
    return folders;
}

std::vector<std::string> HandOffCopies(const std::string& temporaryDirectory)
{
    std::vector<std::string> copies;
    for (const std::string& name : FolderEntries(temporaryDirectory, "Del*")) {
        const std::string path = temporaryDirectory + "\\" + name;
        if (FileExists(path))
            copies.push_back(path);
    }
    for (const std::string& folder : HandOffFolders(temporaryDirectory)) {
        for (const std::string& name : FolderEntries(folder))
            copies.push_back(folder + "\\" + name);
    }
    return copies;
}

bool IsScheduledForDeletionAtRestart(const std::string& path)
{
    const std::string wanted = LongForm(path);
    const std::vector<std::wstring> items = PendingOperations();
    for (size_t i = 0; i + 1 < items.size(); i += 2) {
        std::wstring source = items[i];
        if (source.compare(0, 4, L"\\??\\") == 0)
            source.erase(0, 4);
        if (items[i + 1].empty() && ::lstrcmpiA(LongForm(Narrow(source)).c_str(), wanted.c_str()) == 0)
            return true;
    }
    return false;
}

std::vector<std::string> HandOffFoldersLeftBehind(const std::string& temporaryDirectory)
{
    std::vector<std::string> left;
    for (const std::string& folder : HandOffFolders(temporaryDirectory)) {
        if (!FolderEntries(folder).empty() || !IsScheduledForDeletionAtRestart(folder))
            left.push_back(folder);
    }
    return left;
}

}  // namespace testing_support
