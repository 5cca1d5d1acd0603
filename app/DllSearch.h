// Where the process may load DLLs from.
#pragma once

// Restricts the DLL search of every later load to the system directory, so that a DLL
// planted beside the program (the self-deleter runs from the temporary directory, which
// anyone can write to) or in the current directory is never loaded. Call it first thing in
// every process. Where the platform lacks SetDefaultDllDirectories this does nothing.
void RestrictDllSearchToSystemDirectory();
