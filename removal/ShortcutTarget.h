// The target of a shortcut file, read through the shell's link object.
#pragma once
#include "framework/String.h"

namespace removal {

// The target path as narrow text; false when none was read: COM could not be initialised
// for this read alone (already initialised on the thread counts as that), the link object
// could not be made, or it yielded an empty target (a shortcut that did not load, or has no
// file target).
bool ReadShortcutTarget(const CString& linkPath, CString& target);

}  // namespace removal
