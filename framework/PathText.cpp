#include "framework/PathText.h"

#include <mbstring.h>

const char* LastPathSeparator(const char* path)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(path);
    const unsigned char* backslash = _mbsrchr(bytes, '\\');
    const unsigned char* slash = _mbsrchr(bytes, '/');
    return reinterpret_cast<const char*>(backslash > slash ? backslash : slash);
}

bool HasDevicePrefix(const char* path)
{
    // Each test stops at the terminator, so a short text is never read past its end.
    return path && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && (path[2] == '?' || path[2] == '.') &&
           IsPathSeparator(path[3]);
}
