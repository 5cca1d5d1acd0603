#include "selfremove/SelfDeleterCommandLine.h"

#include <cstdio>

bool FormatSelfDeleterCommandLine(char* buffer, size_t size, const char* copyPath, HANDLE uninstaller,
                                  const char* uninstallerPath)
{
    if (!buffer || size == 0 || !copyPath || !*copyPath || !uninstallerPath)
        return false;
    // The same characters end an unquoted program name in the copy's command tail.
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(copyPath); *p; ++p) {
        if (*p <= ' ')
            return false;
    }
    // Handle values fit in 32 bits on both architectures; %d is what the copy reads back.
    const int length = std::snprintf(buffer, size, "%s $ %d \"%s\"", copyPath, HandleToLong(uninstaller),
                                     uninstallerPath);
    return length >= 0 && static_cast<size_t>(length) < size;
}
