#include "registry/RegistryPath.h"

#include "registry/RegistryCalls.h"

#include <algorithm>
#include <cstring>
#include <mbstring.h>
#include <string>
#include <vector>

namespace {

const unsigned char* Bytes(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

// The separator that splits this level: the first backslash, else the first forward slash.
// The multibyte search never takes the second byte of a double-byte character.
const char* FirstSeparator(const char* path)
{
    const unsigned char* found = _mbschr(Bytes(path), '\\');
    if (!found)
        found = _mbschr(Bytes(path), '/');
    return reinterpret_cast<const char*>(found);
}

const char* LastSeparator(const char* path)
{
    const unsigned char* found = _mbsrchr(Bytes(path), '\\');
    if (!found)
        found = _mbsrchr(Bytes(path), '/');
    return reinterpret_cast<const char*>(found);
}

// True when splitting the path level by level yields an empty name anywhere: an empty path,
// or a leading, trailing or doubled separator. Such paths are refused before any registry call.
bool HasEmptyName(const char* path)
{
    for (;;) {
        if (*path == '\0')
            return true;
        const char* separator = FirstSeparator(path);
        if (!separator)
            return false;
        if (separator == path)
            return true;
        path = separator + 1;
    }
}

HKEY OpenWellFormedKeyPath(HKEY root, const char* path, bool create, REGSAM access)
{
    const RegistryCalls& calls = CurrentRegistryCalls();
    const char* separator = FirstSeparator(path);
    const std::string head = separator ? std::string(path, separator) : std::string(path);

    HKEY opened = nullptr;
    const LONG result = create
        ? calls.createKey(root, head.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kKeyPathAccess,
                          nullptr, &opened, nullptr)
        : calls.openKey(root, head.c_str(), 0, access, &opened);
    if (result != ERROR_SUCCESS)
        return nullptr;
    if (!separator)
        return opened;

    // The intermediate key goes once the deeper keys are open (or have failed).
    RegistryKey intermediate(opened);
    return OpenWellFormedKeyPath(intermediate.Get(), separator + 1, create, access);
}

// The text of fetched data (up to its first zero byte), cut to capacity - 1 bytes.
void CopyText(const char* data, char* buffer, DWORD& capacity, bool* cut)
{
    const size_t whole = std::strlen(data);
    const size_t length = std::min<size_t>(whole, capacity - 1);
    std::memcpy(buffer, data, length);
    buffer[length] = '\0';
    capacity = static_cast<DWORD>(length);
    if (cut)
        *cut = length < whole;
}

}  // namespace

HKEY OpenKeyPath(HKEY root, const char* path, bool create, REGSAM access)
{
    if (!path || HasEmptyName(path))
        return nullptr;
    return OpenWellFormedKeyPath(root, path, create, access);
}

LONG ReadStringValue(HKEY root, const char* path, const char* valueName, char* buffer, DWORD& capacity)
{
    if (!buffer || capacity == 0)
        return kRegistryFailed;
    RegistryKey key(OpenKeyPath(root, path, false, kKeyPathAccess));
    if (!key)
        return kRegistryFailed;
    return ReadKeyStringValue(key.Get(), valueName, buffer, capacity);
}

LONG ReadKeyStringValue(HKEY key, const char* valueName, char* buffer, DWORD& capacity, bool* cut)
{
    if (!buffer || capacity == 0)
        return kRegistryFailed;
    const RegistryCalls& calls = CurrentRegistryCalls();
    DWORD size = 0;
    if (calls.queryValue(key, valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return kRegistryFailed;

    // One byte more than the data, always zero: it ends a text whose data holds no zero byte.
    std::vector<char> scratch(static_cast<size_t>(size) + 1, '\0');
    DWORD fetched = size;
    if (calls.queryValue(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(scratch.data()), &fetched) !=
        ERROR_SUCCESS)
        return kRegistryFailed;
    CopyText(scratch.data(), buffer, capacity, cut);
    return kRegistryOk;
}

LONG ReadKeyStringValueFast(HKEY key, const char* valueName, char* buffer, DWORD& capacity, bool* cut)
{
    if (!buffer || capacity == 0)
        return kRegistryFailed;
    // Most values fit this buffer and take one query; a larger one is read in two.
    constexpr DWORD kDirectSize = 1024;
    char data[kDirectSize + 1];
    DWORD size = kDirectSize;
    const LONG result =
        CurrentRegistryCalls().queryValue(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    if (result == ERROR_MORE_DATA)
        return ReadKeyStringValue(key, valueName, buffer, capacity, cut);
    if (result != ERROR_SUCCESS || size > kDirectSize)
        return kRegistryFailed;
    data[size] = '\0';  // ends a text whose data holds no zero byte
    CopyText(data, buffer, capacity, cut);
    return kRegistryOk;
}

LONG WriteStringValue(HKEY root, const char* path, const char* valueName, const char* text)
{
    if (!text)
        text = "";
    RegistryKey key(OpenKeyPath(root, path, true, kKeyPathAccess));
    if (!key)
        return kRegistryFailed;
    // A failed store is not reported: the key path was there.
    CurrentRegistryCalls().setValue(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                    static_cast<DWORD>(std::strlen(text) + 1));
    return kRegistryOk;
}

LONG DeleteKeyPath(HKEY root, const char* path)
{
    if (!path || HasEmptyName(path))
        return kRegistryFailed;
    const RegistryCalls& calls = CurrentRegistryCalls();
    const char* separator = LastSeparator(path);
    if (!separator)
        return calls.deleteKey(root, path);

    // The parent path is created when it is missing; the delete then reports the missing leaf.
    const std::string parentPath(path, separator);
    RegistryKey parent(OpenKeyPath(root, parentPath.c_str(), true, kKeyPathAccess));
    if (!parent)
        return kRegistryFailed;
    return calls.deleteKey(parent.Get(), separator + 1);
}
