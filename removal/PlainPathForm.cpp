#include "removal/PlainPathForm.h"

#include <windows.h>

#include <cstring>

#include "removal/AbsolutePath.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

}  // namespace

CString PlainPathForm(const CString& path)
{
    const char* p = path.GetString();
    const bool devicePrefix = IsSeparator(p[0]) && IsSeparator(p[1]) && (p[2] == '?' || p[2] == '.') &&
                              IsSeparator(p[3]);
    if (!devicePrefix || !StartsWithDriveRoot(p + 4))
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
