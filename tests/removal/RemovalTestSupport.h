// Helpers shared by the removal tests: the application object, and small folder layouts
// written as lists of relative names (a name ending in a backslash is a directory).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "framework/UniqueHandle.h"
#include "tests/support/TestEnvironment.h"

namespace removal_tests {

// The one application object, as the removal passes reach it.
CUninstallApp& App();

// Creates every entry of the layout below root.
void MakeLayout(const std::string& root, const std::vector<std::string>& layout);

// What every test's folder starts with: a file at the top, so that no upward walk leaves the
// folder, and the folder the current directory starts in, with a file of its own so that no
// removal can take it.
extern const std::vector<std::string> kBaseLayout;

// Lays out kBaseLayout and the test's layout below the folder and moves the current directory
// to current, relative to the folder ("." for the folder itself).
void LayOut(const testing_support::ScopedTestDirectory& folder, const std::vector<std::string>& layout,
            const char* current = "start");

// Each relative name, file or directory, is gone from the folder / still there.
void ExpectGoneAndKept(const testing_support::ScopedTestDirectory& folder, const std::vector<std::string>& gone,
                       const std::vector<std::string>& kept);

// Replaces every "{T}" in text with root.
std::string Expand(const std::string& text, const std::string& root);

// The process's current directory relative to root: "." for root itself, "<outside>" if it
// lies outside.
std::string CurrentDirectoryBelow(const std::string& root);

// Makes a file read-only (the folder fixture clears the attribute again when it cleans up).
void MakeReadOnly(const std::string& path);

// Opens the file as a running program holds its own: without FILE_SHARE_DELETE, so that it
// cannot be deleted while the handle lives.
KernelHandle HoldOpen(const std::string& path);

// The paths in the application's record of files left behind.
std::vector<std::string> LeftBehind();

}  // namespace removal_tests
