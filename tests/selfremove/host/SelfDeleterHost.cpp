// A stand-in for an uninstaller whose dialog has just ended with OK: started without
// arguments, it hands its own file to the self-deleter at once. Its temporary copy, started
// with the self-deleter command line, goes through the program's own start-up. Started with
// "stay", it does not end after the hand-off but waits to be ended, so that a test can look at
// the self-deleter while that waits for it.
#include "app/DllSearch.h"
#include "app/UninstallApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    RestrictDllSearchToSystemDirectory();
    const char* tail = AfxCommandTail(::GetCommandLineA());
    if (tail[0] == '$')
        return AfxWinMain(instance, previous, commandLine, showCommand);
    theApp.m_hInstance = instance;
    theApp.m_lpCmdLine = tail;
    theApp.SpawnSelfDeleter();
    if (lstrcmpA(tail, "stay") == 0)
        ::Sleep(INFINITE);
    return 0;
}
