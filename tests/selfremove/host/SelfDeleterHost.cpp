// A stand-in for an uninstaller whose dialog has just ended with OK: started without
// arguments, it hands its own file to the self-deleter at once. Its temporary copy, started
// with the self-deleter command line, goes through the program's own start-up. Started with
// "stay" and the name of an event, it sets the event once the hand-off is over and then waits
// to be ended, so that a test can look at the self-deleter while that waits for it.
#include "app/DllSearch.h"
#include "app/UninstallApp.h"
#include "framework/UniqueHandle.h"

#include <cstring>

namespace {
constexpr char kStay[] = "stay ";
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    RestrictDllSearchToSystemDirectory();
    const char* tail = AfxCommandTail(::GetCommandLineA());
    if (tail[0] == '$')
        return AfxWinMain(instance, previous, commandLine, showCommand);
    theApp.m_hInstance = instance;
    theApp.m_lpCmdLine = tail;
    theApp.SpawnSelfDeleter();
    if (std::strncmp(tail, kStay, sizeof kStay - 1) == 0) {
        // Ended inside the hand-off, this process could leave the self-deleter with its first
        // thread never resumed: the test may end it only once told so.
        const KernelHandle handedOff(::OpenEventA(EVENT_MODIFY_STATE, FALSE, tail + sizeof kStay - 1));
        ::SetEvent(handedOff.Get());
        ::Sleep(INFINITE);
    }
    return 0;
}
