// The folder that the self-deleter's copy runs from. The copy starts with administrator
// rights, and the loader looks for DLLs beside a program before anything of the program can
// run: a folder that the user can write to (the temporary directory itself) would let any of
// the user's programs place DLLs there in advance. So every hand-off makes a new folder of
// its own inside the temporary directory, named at random, that only Administrators and
// SYSTEM can write to when the uninstaller runs elevated, and puts nothing but the copy in it.
#pragma once
#include <windows.h>

#include <cstddef>

#include "framework/UniqueHandle.h"

// "Del" and 32 hexadecimal digits, with the terminating zero.
constexpr size_t kSelfDeleterFolderNameSize = 3 + 32 + 1;

// True when the process holds the Administrators group enabled: it runs elevated, or as an
// administrator where the platform has no elevation.
bool RunsAsAdministrator();

// The descriptor the folder is created with: a protected access list (nothing is inherited
// from the temporary directory) that grants full control to SYSTEM and Administrators and,
// when not elevated, to the process's own user; its entries are inherited by the copy. Elevated,
// the Administrators own the folder, so that the user's unelevated programs cannot change the
// list as its owner. Null when it cannot be built.
LocalMemory<void> BuildSelfDeleterFolderSecurity(bool elevated);

// A new folder name: "Del" and 128 bits of the system's cryptographic random source in
// hexadecimal, so that nobody can create the folder, or anything in it, before the hand-off
// does. False when the random source fails or the buffer is too small.
bool MakeSelfDeleterFolderName(char* name, size_t size);

// Creates the folder `name` inside `parent` with the descriptor, in one step: there is no
// moment at which it exists with another access list. The handle returned keeps the folder
// from being renamed or removed while it is open. Invalid, with nothing created, when the
// folder or a file of that name exists already, when the descriptor cannot be applied, or when
// the parent cannot be opened.
KernelHandle CreateFolderWithSecurity(const char* parent, const char* name, PSECURITY_DESCRIPTOR security);

// One hand-off's folder, from its creation to its removal.
class SelfDeleterFolder {
public:
    SelfDeleterFolder() = default;
    // Closes the folder and removes it if it is empty: when nothing runs from it, its copy
    // has already gone with its delete-on-close handle, which must be closed first.
    ~SelfDeleterFolder();
    SelfDeleterFolder(const SelfDeleterFolder&) = delete;
    SelfDeleterFolder& operator=(const SelfDeleterFolder&) = delete;

    // Makes the folder inside the temporary directory and has it removed at the next restart
    // at the latest (where the process may do so). False, with nothing created, when it cannot
    // be made exactly so: then nothing may be started from it.
    bool Create(const char* temporaryDirectory);
    // The folder's path, without a trailing separator; empty until created.
    const char* Path() const { return m_path; }

private:
    char m_path[MAX_PATH] = "";
    KernelHandle m_folder;
};
