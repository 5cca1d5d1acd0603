// Where the upward walk of the pruning must stop: at the top of a volume.
#pragma once

// True when the path names the top of a volume or lies above one: an empty text, a bare
// drive designator ("C:", which names the drive's current directory, not its root), a drive
// root ("C:\"), a share root ("\\server\share") or less of a network path ("\\server",
// "\\"), and the same behind the "\\?\" and "\\.\" prefixes. Either separator counts, and
// trailing separators are ignored.
bool IsVolumeTop(const char* path);

// True when the path is a wildcard pattern whose matches lie directly in the top of a volume
// ("C:\*.*", "\\server\share\*", or "*" while the current directory is a drive root).
bool IsPatternAtVolumeTop(const char* path);
