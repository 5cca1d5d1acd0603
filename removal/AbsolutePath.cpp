#include "removal/AbsolutePath.h"

#include "framework/PathText.h"

namespace {

// Only the ASCII letters: the platform has no other drive letters, and the locale's idea of
// a letter must not decide what is deleted.
bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool StartsWithDriveRoot(const char* path)
{
    // Each test stops at the terminator, so a short text is never read past its end.
    return path && IsDriveLetter(path[0]) && path[1] == ':' && IsPathSeparator(path[2]);
}

bool IsAbsolutePath(const char* path)
{
    if (!path)
        return false;
    return (IsPathSeparator(path[0]) && IsPathSeparator(path[1])) || StartsWithDriveRoot(path);
}
