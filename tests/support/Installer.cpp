#include "tests/support/Installer.h"

#include <windows.h>

#include "tests/support/Shortcut.h"

namespace testing_support {

const char kProductKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvane Version 7.0";
const char kProductDisplayName[] = "Korvane";

namespace {

std::string ErrorText(const char* what, const std::string& subject, DWORD error)
{
    return std::string(what) + " " + subject + " failed with error " + std::to_string(error);
}

void MakeDirectories(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

std::string ParentOf(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string WriteFileWithText(const std::string& path, const std::string& text)
{
    MakeDirectories(ParentOf(path));
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ErrorText("creating", path, ::GetLastError());
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    return ok ? std::string() : ErrorText("writing", path, error);
}

std::string Numbered(const char* word, size_t n)
{
    return std::string(word) + " " + std::to_string(n);
}

}  // namespace

std::string Application::EntryKey() const
{
    return std::string(kProductKey) + "\\App" + std::to_string(index);
}

std::string WriteRegistryText(const std::string& keyPath, const char* valueName, const std::string& text)
{
    HKEY key = nullptr;
    LONG result = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                    nullptr);
    if (result != ERROR_SUCCESS)
        return ErrorText("creating key", keyPath, result);
    result = ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string() : ErrorText("setting", keyPath + "\\" + valueName, result);
}

std::string ReadRegistryText(const std::string& keyPath, const char* valueName)
{
    char buffer[1024] = "";
    DWORD size = sizeof buffer - 1;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, keyPath.c_str(), valueName, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return "";
    return buffer;
}

bool RegistryKeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void RemoveProductKey()
{
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
}

std::string InstallProduct(const std::string& language)
{
    if (!language.empty()) {
        const std::string error = WriteRegistryText(kProductKey, "Language", language);
        if (!error.empty())
            return error;
    }
    return WriteRegistryText(kProductKey, "DisplayName", kProductDisplayName);
}

std::string InstallApplication(const Application& application, const std::string& uninstallerSource)
{
    MakeDirectories(application.directory);
    for (const std::string& file : application.files) {
        const std::string error = WriteFileWithText(file, application.name + " installed " + file);
        if (!error.empty())
            return error;
    }
    if (application.copyUninstaller &&
        !::CopyFileA(uninstallerSource.c_str(), application.Uninstaller().c_str(), FALSE))
        return ErrorText("copying the uninstaller to", application.Uninstaller(), ::GetLastError());
    for (const Shortcut& shortcut : application.shortcuts) {
        if (!MakeShortcut(shortcut.link, shortcut.target))
            return "making the shortcut " + shortcut.link + " failed";
    }

    const std::string entryKey = application.EntryKey();
    std::string error = WriteRegistryText(entryKey, "AppName", application.name);
    if (error.empty())
        error = WriteRegistryText(entryKey, "Directory", application.directory);
    for (size_t n = 0; error.empty() && n < application.files.size(); ++n)
        error = WriteRegistryText(entryKey, Numbered("File", n + 1).c_str(), application.files[n]);
    for (size_t n = 0; error.empty() && n < application.shortcuts.size(); ++n)
        error = WriteRegistryText(entryKey, Numbered("Link", n + 1).c_str(), application.shortcuts[n].link);
    if (error.empty())
        error = WriteRegistryText(kProductKey, "UninstallString", application.Uninstaller());
    return error;
}

}  // namespace testing_support
