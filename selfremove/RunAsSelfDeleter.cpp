#include "app/UninstallApp.h"
#include "selfremove/UninstallerProcess.h"

#include <cstdlib>
#include <cstring>

namespace {

// The self-deleter's arguments: program, "$", the uninstaller's process handle, its path.
constexpr int kSelfDeleterArgumentCount = 4;

// The self-deleter exists to delete exactly one program file; a pattern could match others.
bool HoldsWildcard(const char* path)
{
    return std::strpbrk(path, "*?") != nullptr;
}

}  // namespace

BOOL CUninstallApp::RunAsSelfDeleter()
{
    // A command tail that begins with "$" makes this process the self-deleter.
    if (m_lpCmdLine[0] != '$')
        return FALSE;
    // Typed by hand with too little: nothing to wait for and nothing to delete.
    if (__argc < kSelfDeleterArgumentCount)
        return TRUE;

    // atoi gives 0 for text without digits; like any value that names no other process, it
    // is waited on no more than an invalid handle would be.
    const HANDLE uninstaller = LongToHandle(std::atoi(__argv[2]));
    if (IsOtherProcessHandle(uninstaller)) {
        ::WaitForSingleObject(uninstaller, INFINITE);
        ::CloseHandle(uninstaller);
    }

    const char* uninstallerPath = __argv[3];
    if (!HoldsWildcard(uninstallerPath))
        DeletePathAndPruneParents(uninstallerPath);
    return TRUE;
}
