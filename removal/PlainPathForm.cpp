#include "removal/PlainPathForm.h"

#include <windows.h>

#include <cstring>

#include "framework/PathText.h"
#include "removal/AbsolutePath.h"

CString PlainPathForm(const CString& path)
{
    const char* p = path.GetString();
    if (!HasDevicePrefix(p) || !StartsWithDriveRoot(p + 4))
        return path;
    const char* drivePath = p + 4;

    // The plain form names the same entry exactly when the platform's parsing leaves it as it
    // is: that parsing drops trailing dots and blanks, turns device names into devices and
    // folds "." and "..", none of which happens behind "\\?\".
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(drivePath, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full || std::strcmp(full, drivePath) != 0)
        return path;
    return CString(drivePath);
}
