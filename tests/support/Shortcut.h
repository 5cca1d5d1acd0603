// Shortcut files made with the shell's own link object, as the installers make them.
#pragma once
#include <string>

namespace testing_support {

// Writes a shortcut file at shortcutPath whose target is targetPath (the folders on the way
// are created). Initialises COM for the call only, so the thread's COM state is as before.
// False if the link object could not be created or saved.
bool MakeShortcut(const std::string& shortcutPath, const std::string& targetPath);

// The target path that the shell's link object reads from a shortcut file; empty if none.
std::string ReadShortcutTarget(const std::string& shortcutPath);

}  // namespace testing_support
