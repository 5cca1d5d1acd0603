#include "removal/DeleteFoundFile.h"

#include <mbstring.h>

namespace {

// The full long form of a path, or the full form when the file cannot be found by its long
// name; false when even the full form cannot be made.
bool CanonicalName(const char* path, char (&name)[MAX_PATH])
{
    char full[MAX_PATH];
    const DWORD fullLength = ::GetFullPathNameA(path, sizeof full, full, nullptr);
    if (fullLength == 0 || fullLength >= sizeof full)
        return false;
    const DWORD longLength = ::GetLongPathNameA(full, name, sizeof name);
    if (longLength == 0 || longLength >= sizeof name)
        lstrcpynA(name, full, sizeof name);
    return true;
}

bool Exists(const char* path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool IsRunningProgramFile(const char* path)
{
    char module[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, module, sizeof module);
    if (length == 0 || length >= sizeof module)
        return false;
    char own[MAX_PATH];
    char other[MAX_PATH];
    if (!CanonicalName(module, own) || !CanonicalName(path, other))
        return false;
    return _mbsicmp(reinterpret_cast<const unsigned char*>(own), reinterpret_cast<const unsigned char*>(other)) == 0;
}

BOOL DeleteFoundFile(const char* path, bool readOnly, CLeftBehindFiles& leftBehind)
{
    // The installers may have marked their files read-only (or copied them from read-only
    // media); the platform refuses to delete such a file until the mark is gone.
    DWORD restore = INVALID_FILE_ATTRIBUTES;
    if (readOnly) {
        const DWORD attributes = ::GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
            if (::SetFileAttributesA(path, writable ? writable : FILE_ATTRIBUTE_NORMAL))
                restore = attributes;
        }
    }

    if (::DeleteFileA(path))
        return TRUE;

    // A file that stays (in use, access denied) stays as it was.
    if (restore != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesA(path, restore);
    if (Exists(path) && !IsRunningProgramFile(path))
        leftBehind.Note(path);
    return FALSE;
}
