// The layout of the product catalogue that the installers keep below HKEY_LOCAL_MACHINE:
// one product key, and below it one entry key per installed application (App0, App1, ...).
#pragma once
#include <windows.h>

#include "framework/String.h"

namespace catalogue {

// The product key is this text, a backslash, and the product name of string resource 6.
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

constexpr char kEntryKeyFormat[] = "%s\\App%i";
// The other-entry query composes its candidates with %d; the text is the same as with %i.
constexpr char kOtherEntryKeyFormat[] = "%s\\App%d";
constexpr char kFileValueFormat[] = "File %i";
constexpr char kLinkValueFormat[] = "Link %i";

// Values of the product key.
constexpr char kLanguageValue[] = "Language";
constexpr char kUninstallStringValue[] = "UninstallString";
// Values of an entry key.
constexpr char kAppNameValue[] = "AppName";
constexpr char kDirectoryValue[] = "Directory";
constexpr char kUninstallerFileName[] = "\\Uninstall.exe";

// Entry values are read into MAX_PATH bytes, the language into 128.
constexpr DWORD kValueBufferSize = MAX_PATH;
constexpr DWORD kLanguageBufferSize = 128;

// Index ranges, inclusive.
constexpr int kFirstListedEntry = 0;
constexpr int kLastListedEntry = 49;
constexpr int kFirstOtherEntry = 0;
constexpr int kLastOtherEntry = 50;

// The entry key of one index: "%s\App%i" with the product key.
CString EntryKey(const char* productKey, int index);

// One value of a numbered list as the removal sees it: at most its first 259 bytes, and
// whether the stored text was longer (a cut text may name another path).
struct ListedValue {
    CString text;
    bool cut = false;
};

// Reads one value of a catalogue key below HKEY_LOCAL_MACHINE through a MAX_PATH buffer, so
// at most its first 259 bytes; false when it cannot be read.
bool ReadValue(const char* keyPath, const char* valueName, CString& value);
// Reads value n of one of an entry's numbered lists ("File %i" or "Link %i").
bool ReadNumberedValue(const char* entryKey, const char* nameFormat, int n, CString& value);
// The same read, telling whether the value was cut.
bool ReadNumberedValue(const char* entryKey, const char* nameFormat, int n, ListedValue& value);

// How a value is read through an open key: ReadKeyStringValue or ReadKeyStringValueFast.
using KeyValueRead = LONG (*)(HKEY key, const char* valueName, char* buffer, DWORD& capacity, bool* cut);
// Reads value n of a numbered list through an open entry key, as ReadNumberedValue does;
// value is left as it was when the read fails.
bool ReadListedValue(HKEY entryKey, const char* nameFormat, int n, KeyValueRead read, ListedValue& value);

}  // namespace catalogue
