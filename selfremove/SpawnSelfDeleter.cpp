#include "app/UninstallApp.h"
#include "framework/UniqueHandle.h"
#include "selfremove/SelfDeleterCommandLine.h"
#include "selfremove/SelfDeleterFolder.h"

namespace {

// The temporary copy's path becomes the unquoted program name of its command line, which
// ends at the first blank: a temporary directory with a blank is used in its short form.
void UseShortFormIfItHoldsABlank(char* directory, DWORD size)
{
    if (!HoldsProgramNameEnd(directory))
        return;
    char shortForm[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(directory, shortForm, sizeof shortForm);
    if (length > 0 && length < sizeof shortForm && length < size)
        lstrcpyA(directory, shortForm);
}

}  // namespace

void CUninstallApp::SpawnSelfDeleter()
{
    char ownPath[MAX_PATH];
    const DWORD ownLength = ::GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
    // A cut path could name some other file, which the self-deleter would then delete.
    if (ownLength == 0 || ownLength >= sizeof ownPath)
        return;

    char tempPath[MAX_PATH];
    const DWORD tempLength = ::GetTempPathA(sizeof tempPath, tempPath);
    if (tempLength == 0 || tempLength >= sizeof tempPath)
        return;
    UseShortFormIfItHoldsABlank(tempPath, sizeof tempPath);
    // The copy runs with administrator rights from a new folder that the user cannot write to,
    // so that no DLL can be waiting beside it. Declared before the copy's handle: the folder
    // can go only once the copy has gone.
    SelfDeleterFolder folder;
    if (!folder.Create(tempPath))
        return;
    if (!::GetTempFileNameA(folder.Path(), "Del", 0, tempPath))
        return;
    ::CopyFileA(ownPath, tempPath, FALSE);

    // The only handle of the copy: once it is closed, the system deletes the copy as soon as
    // the self-deleter that runs from it has ended. If nothing is started, the copy goes now.
    KernelHandle copy(::CreateFileA(tempPath, 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    // Inherited by the self-deleter under the same value, which it waits on.
    KernelHandle self(::OpenProcess(SYNCHRONIZE, TRUE, ::GetCurrentProcessId()));

    char commandLine[kSelfDeleterCommandLineSize];
    if (FormatSelfDeleterCommandLine(commandLine, sizeof commandLine, tempPath, self.Get(), ownPath)) {
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started;
        // The new process's and thread's handles are left open: they go with the end of this
        // process, which follows at once, and nothing here waits for the self-deleter.
        ::CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started);
    }

    // The process handle first, then the copy; the folder goes last, at once if nothing was
    // started from it.
    self.Reset();
    copy.Reset();
}
