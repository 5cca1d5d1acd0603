#include "framework/PathText.h"

#include <mbstring.h>

const char* LastPathSeparator(const char* path)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(path);
    const unsigned char* backslash = _mbsrchr(bytes, '\\');
    const unsigned char* slash = _mbsrchr(bytes, '/');
    return reinterpret_cast<const char*>(backslash > slash ? backslash : slash);
}
