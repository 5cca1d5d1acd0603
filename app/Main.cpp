// The process entry: hands over to the framework, which runs the one application object.
#include "app/DllSearch.h"
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    // Before anything can load a DLL: the current directory may be one that anyone can write to.
    RestrictDllSearchToSystemDirectory();
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
