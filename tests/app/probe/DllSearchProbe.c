/* A DLL that is none of the system's: where the loader finds it shows where it searches. */
#include <windows.h>

__declspec(dllexport) int DllSearchProbe(void)
{
    return 42;
}
