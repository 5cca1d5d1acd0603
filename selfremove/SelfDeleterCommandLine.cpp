#include "selfremove/SelfDeleterCommandLine.h"

#include <cstdio>

bool HoldsProgramNameEnd(const char* path)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p; ++p) {
        if (*p <= ' ')
            return true;
    }
    return false;
}

bool FormatSelfDeleterCommandLine(char* buffer, size_t size, const char* copyPath, HANDLE uninstaller,
                                  const char* uninstallerPath)
{
    if (!buffer || size == 0 || !copyPath || !*copyPath || !uninstallerPath)
        return false;
    if (HoldsProgramNameEnd(copyPath))
        return false;
    // Handle values fit in 32 bits on both architectures; %d is what the copy reads back.
    const int length = std::snprintf(buffer, size, "%s $ %d \"%s\"", copyPath,
                                     static_cast<int>(HandleToLong(uninstaller)),
                                     uninstallerPath);
    return length >= 0 && static_cast<size_t>(length) < size;
}
