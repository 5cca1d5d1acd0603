// The folder of the self-deleter's copy: its access list, its name, its creation in one step
// that fails safe, and its removal.
#include "selfremove/SelfDeleterFolder.h"

#include "tests/selfremove/AccessList.h"
#include "tests/support/HandOff.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

std::set<std::string> Sids(std::initializer_list<std::string> sids)
{
    return std::set<std::string>(sids);
}

// The descriptor that the folder is created with. Elevated (the branch that runs under Wine,
// which runs programs as an administrator) nobody but SYSTEM and Administrators may write and
// the Administrators own the folder; otherwise the process's user may write as well. Every
// entry is inherited by the copy, and none of the temporary directory's own entries is.
TEST(SelfDeleterFolderSecurity, GrantsWriteOnlyToSystemAdministratorsAndWhenNotElevatedTheUser)
{
    const std::string user = CurrentUserSid();
    ASSERT_FALSE(user.empty());
    struct Case {
        const char* name;
        bool elevated;
        std::string owner;
        std::set<std::string> writers;
    };
    const Case cases[] = {
        {"elevated", true, kAdministratorsSid, Sids({kSystemSid, kAdministratorsSid})},
        {"not elevated", false, "", Sids({kSystemSid, kAdministratorsSid, user})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LocalMemory<void> security = BuildSelfDeleterFolderSecurity(c.elevated);
        ASSERT_TRUE(security);
        ASSERT_TRUE(::IsValidSecurityDescriptor(security.Get()));
        const AccessList list = ReadAccessList(security.Get());
        ASSERT_TRUE(list.present) << "no list grants everyone everything";
        EXPECT_TRUE(list.isProtected) << "the temporary directory's entries would be inherited";
        EXPECT_EQ(c.owner, list.owner);
        EXPECT_EQ(c.writers, SidsGrantedWrite(list));
        EXPECT_EQ(c.writers, SidsGrantedAnything(list));
        for (const AccessEntry& entry : list.entries) {
            EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, entry.type) << entry.sid;
            EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, entry.flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE))
                << entry.sid << ": not inherited by the copy";
        }
    }
}

TEST(SelfDeleterFolderName, IsDelAndThirtyTwoHexDigitsAndNewEachTime)
{
    std::set<std::string> names;
    for (int i = 0; i < 16; ++i) {
        char name[kSelfDeleterFolderNameSize];
        ASSERT_TRUE(MakeSelfDeleterFolderName(name, sizeof name));
        EXPECT_TRUE(IsHandOffFolderName(name)) << name;
        names.insert(name);
    }
    EXPECT_EQ(16u, names.size()) << "a name came twice";

    char small[kSelfDeleterFolderNameSize - 1] = "unchanged";
    EXPECT_FALSE(MakeSelfDeleterFolderName(small, sizeof small));
    EXPECT_STREQ("unchanged", small);
}

// The folder exists with its list from the moment it is created, and the handle that its
// creation returns keeps anyone from renaming it away (to put another folder in its place)
// until the copy has been started.
TEST(SelfDeleterFolder, IsCreatedInOneStepAndCannotBeRenamedWhileHeld)
{
    ScopedTestDirectory root;
    const LocalMemory<void> security = BuildSelfDeleterFolderSecurity(RunsAsAdministrator());
    ASSERT_TRUE(security);
    const std::string folder = root / "DelNew";
    const std::string moved = root / "Moved";

    KernelHandle held = CreateFolderWithSecurity(root.Path().c_str(), "DelNew", security.Get());
    ASSERT_TRUE(held);
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_EQ(std::vector<std::string>{}, FolderEntries(folder));
    EXPECT_FALSE(::MoveFileA(folder.c_str(), moved.c_str())) << "renamed while held";
    EXPECT_FALSE(::RemoveDirectoryA(folder.c_str())) << "removed while held";
    EXPECT_TRUE(DirectoryExists(folder));

    held.Reset();
    EXPECT_TRUE(::MoveFileA(folder.c_str(), moved.c_str())) << "still held after closing";
}

// Fail safe: a folder that cannot be made new and with its list is not made at all, and
// whatever was there stays as it was.
TEST(SelfDeleterFolder, CreatesNothingWhereItCannotBeMadeExactlySo)
{
    const LocalMemory<void> security = BuildSelfDeleterFolderSecurity(RunsAsAdministrator());
    ASSERT_TRUE(security);
    // A descriptor of a revision that does not exist.
    BYTE broken[sizeof(SECURITY_DESCRIPTOR)] = {0x7F};
    struct Case {
        const char* name;
        std::vector<std::string> before;  // files, and folders where the name ends in a backslash
        const char* parent;               // below the test's folder
        PSECURITY_DESCRIPTOR security;
    };
    const Case cases[] = {
        {"folder exists", {"Temp\\DelX\\planted.dll"}, "Temp", security.Get()},
        {"empty folder exists", {"Temp\\DelX\\"}, "Temp", security.Get()},
        {"file of that name exists", {"Temp\\DelX"}, "Temp", security.Get()},
        {"temporary directory missing", {"Other\\"}, "Temp", security.Get()},
        {"descriptor that cannot be applied", {"Temp\\"}, "Temp", broken},
        {"no descriptor", {"Temp\\"}, "Temp", nullptr},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedTestDirectory root("_" + std::to_string(++index));
        for (const std::string& entry : c.before) {
            if (entry.back() == '\\')
                MakeDirectories(root / entry.substr(0, entry.size() - 1));
            else
                WriteTextFile(root / entry, "before");
        }
        const std::string parent = root / c.parent;
        const std::vector<std::string> parentBefore = FolderEntries(parent);
        const std::vector<std::string> folderBefore = FolderEntries(parent + "\\DelX");

        const KernelHandle held = CreateFolderWithSecurity(parent.c_str(), "DelX", c.security);
        EXPECT_FALSE(held);
        EXPECT_EQ(parentBefore, FolderEntries(parent));
        EXPECT_EQ(folderBefore, FolderEntries(parent + "\\DelX"));
        for (const std::string& entry : c.before) {
            if (entry.back() == '\\')
                EXPECT_TRUE(DirectoryExists(root / entry.substr(0, entry.size() - 1))) << entry;
            else
                EXPECT_TRUE(FileExists(root / entry)) << entry;
        }
    }
}

// The folder as the hand-off makes it, read back. Wine keeps no access lists on files: it
// reports the Unix mode, in which the owner stands for SYSTEM and Administrators as well. What
// it keeps is that nobody else may do anything in the folder, where a folder made without the
// list lets everyone read.
TEST(SelfDeleterFolder, ReadBackGrantsNothingToOtherUsers)
{
    ScopedTestDirectory root;
    const std::set<std::string> others = Sids({kEveryoneSid, kUsersSid, kAuthenticatedUsersSid});
    const auto grantsOthers = [&](const std::string& path) {
        const AccessList list = ReadAccessList(path);
        for (const std::string& sid : SidsGrantedAnything(list)) {
            if (others.count(sid))
                return true;
        }
        return !list.present;
    };
    MakeDirectories(root / "Plain");
    ASSERT_TRUE(grantsOthers(root / "Plain")) << "the read-back cannot show the difference";

    SelfDeleterFolder folder;
    ASSERT_TRUE(folder.Create(root.Path().c_str()));
    EXPECT_FALSE(grantsOthers(folder.Path()));
}

// A hand-off's folder: new, in the temporary directory, removed at the next restart at the
// latest, and at once when it is left empty (nothing was started from it).
TEST(SelfDeleterFolder, IsRemovedWhenLeftEmptyAndAtTheNextRestartOtherwise)
{
    ScopedTestDirectory root;
    const std::string temp = root / "Temp";
    MakeDirectories(temp);
    struct Case {
        const char* name;
        std::string temporaryDirectory;
        bool leaveAFile;
    };
    const Case cases[] = {
        {"left empty", temp + "\\", false},
        {"temporary directory without a trailing separator", temp, false},
        {"a copy still in it", temp + "\\", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path;
        {
            SelfDeleterFolder folder;
            ASSERT_TRUE(folder.Create(c.temporaryDirectory.c_str()));
            path = folder.Path();
            EXPECT_EQ(std::vector<std::string>{path}, HandOffFolders(temp));
            EXPECT_TRUE(IsScheduledForDeletionAtRestart(path));
            if (c.leaveAFile)
                WriteTextFile(path + "\\Del1.tmp");
        }
        EXPECT_EQ(c.leaveAFile, DirectoryExists(path));
        RemoveTree(path);
    }

    SelfDeleterFolder missing;
    EXPECT_FALSE(missing.Create((root / "Missing\\").c_str()));
    EXPECT_STREQ("", missing.Path());
    EXPECT_FALSE(DirectoryExists(root / "Missing"));
}

}  // namespace
