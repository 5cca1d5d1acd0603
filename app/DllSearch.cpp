#include "app/DllSearch.h"

#include <windows.h>

void RestrictDllSearchToSystemDirectory()
{
    // Looked up at run time: importing it would keep the program from starting where
    // kernel32 does not have it.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
    if (!kernel32)
        return;
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(::GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
