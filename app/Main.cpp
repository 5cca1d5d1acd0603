// The process entry: hands over to the framework, which runs the one application object.
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
