#include "tests/selfremove/AccessList.h"

#include <aclapi.h>
#include <sddl.h>

namespace testing_support {

const char kSystemSid[] = "S-1-5-18";
const char kAdministratorsSid[] = "S-1-5-32-544";
const char kEveryoneSid[] = "S-1-1-0";
const char kUsersSid[] = "S-1-5-32-545";
const char kAuthenticatedUsersSid[] = "S-1-5-11";

namespace {

std::string SidText(PSID sid)
{
    char* raw = nullptr;
    if (!sid || !::ConvertSidToStringSidA(sid, &raw))
        return std::string();
    const LocalMemory<char> text(raw);
    return text.Get();
}

// Every right that changes the object, its list or owner, or what a folder holds.
constexpr ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                     FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                     GENERIC_ALL;

}  // namespace

AccessList ReadAccessList(PSECURITY_DESCRIPTOR descriptor)
{
    AccessList list;
    if (!descriptor)
        return list;
    PSID owner = nullptr;
    BOOL ownerDefaulted = FALSE;
    if (::GetSecurityDescriptorOwner(descriptor, &owner, &ownerDefaulted))
        list.owner = SidText(owner);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (::GetSecurityDescriptorControl(descriptor, &control, &revision))
        list.isProtected = (control & SE_DACL_PROTECTED) != 0;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl)
        return list;
    list.present = true;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(dacl, i, &ace))
            continue;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        AccessEntry entry{std::string(), header->AceType, header->AceFlags, 0};
        // Allowed and denied entries share this layout; the SID starts at SidStart.
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
            auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            entry.mask = allowed->Mask;
            entry.sid = SidText(&allowed->SidStart);
        }
        list.entries.push_back(entry);
    }
    return list;
}

AccessList ReadAccessList(const std::string& path)
{
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, nullptr, nullptr, &raw) != ERROR_SUCCESS)
        return AccessList();
    const LocalMemory<void> descriptor(raw);
    return ReadAccessList(descriptor.Get());
}

std::set<std::string> SidsGrantedWrite(const AccessList& list)
{
    std::set<std::string> sids;
    for (const AccessEntry& entry : list.entries) {
        if (entry.type == ACCESS_ALLOWED_ACE_TYPE && (entry.mask & kWriteRights))
            sids.insert(entry.sid);
    }
    return sids;
}

std::set<std::string> SidsGrantedAnything(const AccessList& list)
{
    std::set<std::string> sids;
    for (const AccessEntry& entry : list.entries) {
        if (entry.type == ACCESS_ALLOWED_ACE_TYPE && entry.mask != 0)
            sids.insert(entry.sid);
    }
    return sids;
}

std::string CurrentUserSid()
{
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return std::string();
    const KernelHandle token(raw);
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD returned = 0;
    if (!::GetTokenInformation(token.Get(), TokenUser, buffer, sizeof buffer, &returned))
        return std::string();
    return SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

}  // namespace testing_support
