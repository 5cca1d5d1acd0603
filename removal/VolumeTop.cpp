#include "removal/VolumeTop.h"

#include "framework/PathText.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <mbstring.h>

namespace {

// The number of non-empty names in the path; double-byte characters are stepped over whole,
// so their second byte never counts as a separator.
int CountNames(const unsigned char* path)
{
    int names = 0;
    bool inName = false;
    for (const unsigned char* p = path; *p; p = _mbsinc(p)) {
        if (IsPathSeparator(*p)) {
            inName = false;
        } else if (!inName) {
            inName = true;
            ++names;
        }
    }
    return names;
}

bool StartsWithNoCase(const unsigned char* text, const char* prefix)
{
    return _mbsnbicmp(text, reinterpret_cast<const unsigned char*>(prefix), std::strlen(prefix)) == 0;
}

}  // namespace

bool IsVolumeTop(const char* path)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(path ? path : "");

    // Device paths: "\\?\C:\...", "\\.\C:\...", "\\?\Volume{...}\...", "\\?\UNC\server\share\...".
    if (HasDevicePrefix(reinterpret_cast<const char*>(p))) {
        const unsigned char* rest = p + 4;
        if (StartsWithNoCase(rest, "UNC") && IsPathSeparator(rest[3]))
            return CountNames(rest + 4) <= 2;
        return CountNames(rest) <= 1;
    }
    // Network paths: the server and the share name make the top.
    if (IsPathSeparator(p[0]) && IsPathSeparator(p[1]))
        return CountNames(p + 2) <= 2;
    // "C:", "C:\" and "C:/".
    if (std::isalpha(p[0]) && p[1] == ':')
        return CountNames(p + 2) == 0;
    return CountNames(p) == 0;
}

bool IsPatternAtVolumeTop(const char* path)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(path ? path : "");
    // The "?" of a "\\?\" prefix is no wildcard: "\\?\C:\A" names the folder A.
    const unsigned char* names = HasDevicePrefix(reinterpret_cast<const char*>(p)) ? p + 4 : p;
    if (!_mbspbrk(names, reinterpret_cast<const unsigned char*>("*?")))
        return false;
    // The folder that the pattern searches, from its absolute form.
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        return false;  // not searchable at all
    const char* separator = LastPathSeparator(full);
    if (!separator)
        return false;
    full[separator - full] = '\0';
    return IsVolumeTop(full);
}
