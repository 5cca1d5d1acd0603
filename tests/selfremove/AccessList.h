// Reading security descriptors back: who owns an object and what its access list grants.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "framework/UniqueHandle.h"

namespace testing_support {

struct AccessEntry {
    std::string sid;  // "S-1-5-18", ...
    BYTE type;        // ACCESS_ALLOWED_ACE_TYPE, ...
    BYTE flags;       // OBJECT_INHERIT_ACE, ...
    ACCESS_MASK mask;
};

struct AccessList {
    bool present = false;    // false: no list, which grants everyone everything
    bool isProtected = false;  // entries of the parent are not inherited
    std::string owner;       // empty when the descriptor names none
    std::vector<AccessEntry> entries;
};

// The owner and access list of a descriptor.
AccessList ReadAccessList(PSECURITY_DESCRIPTOR descriptor);
// The owner and access list of a file or folder, as the platform reports them.
AccessList ReadAccessList(const std::string& path);

// The SIDs that an allowing entry grants a right to change the object or what it holds.
std::set<std::string> SidsGrantedWrite(const AccessList& list);
// The SIDs that an allowing entry grants any right at all.
std::set<std::string> SidsGrantedAnything(const AccessList& list);

// Well-known SIDs as text.
extern const char kSystemSid[];
extern const char kAdministratorsSid[];
extern const char kEveryoneSid[];
extern const char kUsersSid[];
extern const char kAuthenticatedUsersSid[];
// The user of this process.
std::string CurrentUserSid();

}  // namespace testing_support
