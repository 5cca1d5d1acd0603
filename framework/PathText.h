// Separators in narrow file paths, found with the multibyte-aware search so that the second
// byte of a double-byte character is never taken for one.
#pragma once

// The later of the last backslash and the last forward slash; null when there is neither.
const char* LastPathSeparator(const char* path);
