// Shortcut files made the way installers make them: with the shell's own link object.
#pragma once
#include <string>

namespace testing_support {

// Saves a shortcut at linkPath that points at targetPath, creating the link's folder.
// Returns an empty text on success, otherwise what failed.
std::string CreateShellLink(const std::string& linkPath, const std::string& targetPath);

}  // namespace testing_support
