#include "removal/PathIdentity.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <mbstring.h>

#include "framework/FileFind.h"
#include "framework/PathText.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveRootPrefix(const char* path)
{
    return std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && IsSeparator(path[2]);
}

bool HasDevicePrefix(const char* path)
{
    return IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.') && IsSeparator(path[3]);
}

// Drops separators at the end, but keeps the one of a drive root.
void DropTrailingSeparators(char* path)
{
    size_t length = std::strlen(path);
    while (length > 3 && LastPathSeparator(path) == path + length - 1)
        path[--length] = '\0';
}

}  // namespace

bool IsAbsolutePath(const char* path)
{
    if (!path)
        return false;
    return IsDriveRootPrefix(path) || (IsSeparator(path[0]) && IsSeparator(path[1]));
}

bool IsPathPattern(const char* path)
{
    return path && _mbspbrk(reinterpret_cast<const unsigned char*>(path),
                            reinterpret_cast<const unsigned char*>("*?<>\"")) != nullptr;
}

CString PathIdentity(const char* path)
{
    if (!IsAbsolutePath(path))
        return CString(path);

    CString text(path);
    if (HasDevicePrefix(path)) {
        const char* rest = path + 4;
        if (IsDriveRootPrefix(rest)) {
            text = rest;
        } else if (_mbsnbicmp(reinterpret_cast<const unsigned char*>(rest),
                              reinterpret_cast<const unsigned char*>("UNC"), 3) == 0 &&
                   IsSeparator(rest[3])) {
            text = "\\\\";
            text += rest + 4;
        } else {
            return CString(path);  // a volume, pipe or device: no file that an entry lists
        }
    }

    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(text.GetString(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        return CString(path);
    DropTrailingSeparators(full);

    // Only on a drive: on a network path the look-up would wait for the server.
    if (IsDriveRootPrefix(full) && _mbschr(reinterpret_cast<const unsigned char*>(full), '~')) {
        char longForm[MAX_PATH];
        const DWORD longLength = ::GetLongPathNameA(full, longForm, sizeof longForm);
        if (longLength != 0 && longLength < sizeof longForm)
            return CString(longForm);
    }
    return CString(full);
}

std::vector<CString> PatternMatches(const char* pattern)
{
    std::vector<CString> matches;
    if (!IsAbsolutePath(pattern))
        return matches;
    CFileFind find;
    BOOL more = find.FindFile(pattern);
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDots())
            matches.push_back(find.GetFilePath());
    }
    return matches;
}
