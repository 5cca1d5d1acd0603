// Catalogue entries for the dialog tests, written below a test's own product key.
#pragma once
#include <string>

#include "tests/support/TestEnvironment.h"

namespace dialog_tests {

inline std::string EntryKey(const std::string& productKey, int index)
{
    return productKey + "\\App" + std::to_string(index);
}

// An entry with the values that are given (null leaves a value out).
inline void AddEntry(const std::string& productKey, int index, const char* appName, const char* directory)
{
    const std::string key = EntryKey(productKey, index);
    if (appName)
        testing_support::SetText(key, "AppName", appName);
    if (directory)
        testing_support::SetText(key, "Directory", directory);
}

// A text value of a key, or "<missing>".
inline std::string ReadText(const std::string& keyPath, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, keyPath.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<missing>";
    return value;
}

}  // namespace dialog_tests
