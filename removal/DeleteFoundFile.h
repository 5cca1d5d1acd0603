// The deletion of one file that a removal's search found.
#pragma once
#include <windows.h>

#include "removal/LeftBehindFiles.h"

// Deletes the file at the full path; a read-only file is made writable first and gets its
// attributes back if it stays. TRUE when the file went. A file that is still there afterwards
// is noted in leftBehind, unless it is the running program's own file: that one cannot go
// while the program runs, and the self-deletion at closing takes care of it.
BOOL DeleteFoundFile(const char* path, bool readOnly, CLeftBehindFiles& leftBehind);

// Whether the path names the running program's file, compared as the platform compares file
// names: the full long forms, without regard to case.
bool IsRunningProgramFile(const char* path);
