// Which catalogue paths the removal may act on.
#pragma once

// True when the path begins with a drive letter, a colon and a separator ("C:\", "c:/").
bool StartsWithDriveRoot(const char* path);

// True when the path is absolute: it starts with a drive root, or with two separators (a
// network path "\\server\share\..." or a device path "\\?\C:\..."). Anything else ("f.txt",
// "*", "..\x", "\foo", "C:foo") is resolved against whatever directory happens to be current,
// so it names nothing that a catalogue can mean.
bool IsAbsolutePath(const char* path);
