// Where the process may load DLLs from.
#pragma once

// Restricts the DLL search of every later load to the system directory, so that a DLL
// planted beside the program or in the current directory is never loaded. Call it first thing
// in every process. Where the platform lacks SetDefaultDllDirectories this does nothing. It
// cannot reach the DLLs that the loader brings in before the program runs: against those, the
// self-deleter's copy starts from a folder of its own that the user cannot write to.
void RestrictDllSearchToSystemDirectory();
