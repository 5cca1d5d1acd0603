// Separators and prefixes of narrow file paths. Separators are found with the multibyte-aware
// search so that the second byte of a double-byte character is never taken for one.
#pragma once

// A backslash or a forward slash: the platform takes either as a separator in a plain path.
inline bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The later of the last backslash and the last forward slash; null when there is neither.
const char* LastPathSeparator(const char* path);

// True when the path begins with "\\?\" or "\\.\" (either separator), the prefixes that hand a
// path to the file system without the platform's usual parsing.
bool HasDevicePrefix(const char* path);
