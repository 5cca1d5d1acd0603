// What the self-deleter may wait on.
#pragma once
#include <windows.h>

// True when the handle refers to a process other than this one. The self-deleter waits
// without a time limit, so it must not wait on anything else that its command line can
// name: null, a pseudo handle (this process or thread), a closed value, or a handle of
// another kind (an event or this process's own objects would never be signalled).
// Works on a handle that carries no right but SYNCHRONIZE.
bool IsOtherProcessHandle(HANDLE handle);
