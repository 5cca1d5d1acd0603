// What a self-deletion hand-off leaves in a temporary directory: the folder it makes for its
// copy ("Del" and 32 hexadecimal digits) and the copy in it, and whether the folder is
// scheduled for deletion at the next restart.
#pragma once
#include <string>
#include <vector>

namespace testing_support {

// True for a name of the form the hand-off gives its folders.
bool IsHandOffFolderName(const std::string& name);
// The hand-off folders directly in the directory, as full paths.
std::vector<std::string> HandOffFolders(const std::string& temporaryDirectory);
// The copies: "Del*" files directly in the directory and every file in its hand-off folders.
std::vector<std::string> HandOffCopies(const std::string& temporaryDirectory);
// True when PendingFileRenameOperations deletes the path at the next restart. The path must
// exist: entries and path are compared in their long forms.
bool IsScheduledForDeletionAtRestart(const std::string& path);
// Hand-off folders that are still there although they are not empty or not scheduled for
// deletion; an emptied folder that is scheduled is what a finished hand-off may leave.
std::vector<std::string> HandOffFoldersLeftBehind(const std::string& temporaryDirectory);

}  // namespace testing_support
