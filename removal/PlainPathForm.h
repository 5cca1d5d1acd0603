// The removal works on drive paths in the form the platform parses.
#pragma once

#include "framework/String.h"

// The drive path behind a device prefix: "\\?\C:\A\f.txt" and "\\.\C:\A\f.txt" give
// "C:\A\f.txt". Behind "\\?\" the platform takes "/" as part of a name, so the tree removal's
// "/*.*" and "/.." would find nothing there and never move the current directory; in the
// plain form the walk removes what it removes for the plain value. The prefix stays where
// the plain form would name something else (a name ending in a dot or a blank, a device name
// such as "CON", a "." or ".." part), and on every other path.
CString PlainPathForm(const CString& path);
