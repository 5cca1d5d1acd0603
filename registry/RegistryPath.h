// Access to registry keys and values by key path: names joined by separators, walked one
// name at a time from a root key. At every level a backslash splits the path when the text
// holds one, otherwise a forward slash does.
#pragma once
#include <windows.h>

// Every key on a path is opened or created with this access, reading included.
constexpr REGSAM kKeyPathAccess = KEY_READ | KEY_WRITE;  // 0x2001F

// Results besides the platform's own codes: 0 on success, 6 when a key path cannot be
// opened or created or a value cannot be read.
constexpr LONG kRegistryOk = 0;
constexpr LONG kRegistryFailed = 6;

// Opens (or, with create set, creates) the key at the end of the path; the caller closes it.
// Null when any key on the path fails, or when the path holds an empty name.
HKEY OpenKeyPath(HKEY root, const char* path, bool create, REGSAM access);

// Reads a value of any stored type as text up to its first zero byte, cut to capacity - 1
// bytes. On success capacity becomes the bytes copied; on failure (6) buffer and capacity
// are left as they were. Never creates a key.
LONG ReadStringValue(HKEY root, const char* path, const char* valueName, char* buffer, DWORD& capacity);
// The same read through a key that is already open. When given, cut tells whether the text
// was longer than capacity - 1 bytes.
LONG ReadKeyStringValue(HKEY key, const char* valueName, char* buffer, DWORD& capacity, bool* cut = nullptr);
// The same text, in one query where the value is not long (two queries otherwise): for reading
// many values in a row.
LONG ReadKeyStringValueFast(HKEY key, const char* valueName, char* buffer, DWORD& capacity, bool* cut = nullptr);

// Stores the text as REG_SZ with its terminating zero, creating every missing key.
LONG WriteStringValue(HKEY root, const char* path, const char* valueName, const char* text);

// Deletes the last key of the path (the parent path is created when missing); returns the
// delete's own code, or 6 when the parent path cannot be opened or created.
LONG DeleteKeyPath(HKEY root, const char* path);
