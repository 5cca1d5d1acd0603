// Holds a file open as a running application holds its own: shared for reading only, without
// FILE_SHARE_DELETE, so nobody can delete it meanwhile.
// Usage: FileHolder PATH READY-EVENT RELEASE-EVENT
// Sets READY-EVENT once the file is open, lets go when RELEASE-EVENT is set (or after two
// minutes, so that it never outlives a test run) and ends. Exit code 2: the file could not be
// opened; 3: an event could not be opened.
#include <windows.h>

#include "framework/UniqueHandle.h"

namespace {
constexpr DWORD kLongestHoldMs = 120000;
}

int main(int argc, char** argv)
{
    if (argc != 4)
        return 1;
    KernelHandle file(::CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return 2;
    KernelHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]));
    KernelHandle release(::OpenEventA(SYNCHRONIZE, FALSE, argv[3]));
    if (!ready || !release)
        return 3;
    ::SetEvent(ready.Get());
    ::WaitForSingleObject(release.Get(), kLongestHoldMs);
    return 0;
}
