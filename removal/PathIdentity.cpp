#include "removal/PathIdentity.h"

#include <windows.h>

#include <cstring>
#include <mbstring.h>

#include "framework/FileFind.h"
#include "framework/PathText.h"
#include "removal/AbsolutePath.h"

namespace {

// Drops separators at the end, but keeps the one of a drive root.
void DropTrailingSeparators(char* path)
{
    size_t length = std::strlen(path);
    while (length > 3 && LastPathSeparator(path) == path + length - 1)
        path[--length] = '\0';
}

}  // namespace

bool IsPathPattern(const char* path)
{
    if (!path)
        return false;
    // The "?" of a "\\?\" prefix is no wildcard.
    if (HasDevicePrefix(path))
        path += 4;
    return _mbspbrk(reinterpret_cast<const unsigned char*>(path),
                            reinterpret_cast<const unsigned char*>("*?<>\"")) != nullptr;
}

CString PathIdentity(const char* path)
{
    if (!IsAbsolutePath(path))
        return CString(path);

    CString text(path);
    if (HasDevicePrefix(path)) {
        const char* rest = path + 4;
        if (StartsWithDriveRoot(rest)) {
            text = rest;
        } else if (_mbsnbicmp(reinterpret_cast<const unsigned char*>(rest),
                              reinterpret_cast<const unsigned char*>("UNC"), 3) == 0 &&
                   IsPathSeparator(rest[3])) {
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
    if (StartsWithDriveRoot(full) && _mbschr(reinterpret_cast<const unsigned char*>(full), '~')) {
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

std::vector<CString> NamedIdentities(const char* value, bool patternsCount)
{
    std::vector<CString> identities{PathIdentity(value)};
    if (patternsCount && IsPathPattern(value)) {
        for (const CString& match : PatternMatches(value))
            identities.push_back(PathIdentity(match));
    }
    return identities;
}
