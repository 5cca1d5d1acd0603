// The command line that starts the self-deleter: "%s $ %d \"%s\"" with the path of the
// temporary copy (the new process's program name), the marker, the inherited handle to the
// uninstaller's process, and the uninstaller's own path in quotes.
#pragma once
#include <windows.h>

#include <cstddef>

// Room for two full paths, the marker, the largest handle number, the blanks and quotes.
constexpr size_t kSelfDeleterCommandLineSize = 2 * MAX_PATH + 32;

// True when the path holds a character that ends an unquoted program name (a blank, a tab or
// any other of code 32 or lower).
bool HoldsProgramNameEnd(const char* path);

// Formats the line into buffer without ever writing past size. False, with nothing to start,
// when the line does not fit or when the copy's path holds a blank or a control character:
// the program name is not quoted, so the copy would see the rest of its own path as its
// command tail and start as an ordinary uninstaller.
bool FormatSelfDeleterCommandLine(char* buffer, size_t size, const char* copyPath, HANDLE uninstaller,
                                  const char* uninstallerPath);
