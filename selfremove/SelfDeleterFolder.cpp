#include "selfremove/SelfDeleterFolder.h"

#include <ntsecapi.h>
#include <sddl.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>

#include "framework/PathText.h"
#include "framework/String.h"

namespace {

constexpr char kFolderNamePrefix[] = "Del";
constexpr size_t kRandomBytes = 16;

// Full control for SYSTEM and Administrators, for the folder and, inherited, for the copy.
// "P" keeps the temporary directory's own entries (the user's full control) out.
constexpr char kElevatedSecurity[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
constexpr char kUserSecurityFormat[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;%s)";

// The process's own user as SID text ("S-1-5-21-...").
LocalMemory<char> CurrentUserSidText()
{
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawToken))
        return LocalMemory<char>();
    const KernelHandle token(rawToken);
    // TOKEN_USER and the SID it points into, which follows it in the same buffer.
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD returned = 0;
    if (!::GetTokenInformation(token.Get(), TokenUser, buffer, sizeof buffer, &returned))
        return LocalMemory<char>();
    char* rawText = nullptr;
    if (!::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &rawText))
        return LocalMemory<char>();
    return LocalMemory<char>(rawText);
}

using NtCreateFileFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                              PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);

// Looked up at run time, like every other function of ntdll that the program uses: the system
// has it under every version, but import libraries do not always list it.
NtCreateFileFunction FindNtCreateFile()
{
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    if (!ntdll)
        return nullptr;
    return reinterpret_cast<NtCreateFileFunction>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtCreateFile")));
}

bool EndsWithSeparator(const char* path)
{
    const size_t length = std::strlen(path);
    return length > 0 && LastPathSeparator(path) == path + length - 1;
}

}  // namespace

bool RunsAsAdministrator()
{
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size))
        return false;
    BOOL member = FALSE;
    return ::CheckTokenMembership(nullptr, administrators, &member) && member;
}

LocalMemory<void> BuildSelfDeleterFolderSecurity(bool elevated)
{
    CString text = kElevatedSecurity;
    if (!elevated) {
        const LocalMemory<char> user = CurrentUserSidText();
        if (!user)
            return LocalMemory<void>();
        text.Format(kUserSecurityFormat, user.Get());
    }
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(text, SDDL_REVISION_1, &raw, nullptr))
        return LocalMemory<void>();
    return LocalMemory<void>(raw);
}

bool MakeSelfDeleterFolderName(char* name, size_t size)
{
    if (!name || size < kSelfDeleterFolderNameSize)
        return false;
    unsigned char random[kRandomBytes];
    if (!RtlGenRandom(random, sizeof random))
        return false;
    std::strcpy(name, kFolderNamePrefix);
    char* out = name + sizeof kFolderNamePrefix - 1;
    for (unsigned char byte : random)
        out += std::sprintf(out, "%02X", byte);
    ::SecureZeroMemory(random, sizeof random);
    return true;
}

KernelHandle CreateFolderWithSecurity(const char* parent, const char* name, PSECURITY_DESCRIPTOR security)
{
    const NtCreateFileFunction createFile = FindNtCreateFile();
    if (!createFile || !parent || !name || !*name || !security)
        return KernelHandle();
    // The folder is created relative to an open handle of its parent, and the create hands
    // back a handle to exactly the folder it made: no path is looked up a second time.
    const KernelHandle parentFolder(::CreateFileA(parent, FILE_TRAVERSE | SYNCHRONIZE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!parentFolder)
        return KernelHandle();

    WCHAR wideName[MAX_PATH];
    const int wideLength = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wideName, MAX_PATH);
    if (wideLength <= 1)
        return KernelHandle();
    UNICODE_STRING objectName;
    objectName.Buffer = wideName;
    objectName.Length = static_cast<USHORT>((wideLength - 1) * sizeof(WCHAR));
    objectName.MaximumLength = static_cast<USHORT>(wideLength * sizeof(WCHAR));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, parentFolder.Get(), security);

    IO_STATUS_BLOCK status;
    HANDLE folder = nullptr;
    // FILE_CREATE fails when anything of that name exists. No FILE_SHARE_DELETE: while the
    // handle is open, nobody can rename the folder away and put another in its place.
    const NTSTATUS result = createFile(&folder, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &status, nullptr,
                                       FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE,
                                       FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(result))
        return KernelHandle();
    return KernelHandle(folder);
}

SelfDeleterFolder::~SelfDeleterFolder()
{
    if (!m_folder)
        return;
    m_folder.Reset();
    // Succeeds only while the folder is empty, that is when no self-deleter runs from it.
    ::RemoveDirectoryA(m_path);
}

bool SelfDeleterFolder::Create(const char* temporaryDirectory)
{
    char name[kSelfDeleterFolderNameSize];
    if (!MakeSelfDeleterFolderName(name, sizeof name))
        return false;
    const LocalMemory<void> security = BuildSelfDeleterFolderSecurity(RunsAsAdministrator());
    if (!security)
        return false;

    char path[MAX_PATH];
    const int length = std::snprintf(path, sizeof path, EndsWithSeparator(temporaryDirectory) ? "%s%s" : "%s\\%s",
                                     temporaryDirectory, name);
    if (length < 0 || static_cast<size_t>(length) >= sizeof path)
        return false;

    KernelHandle folder = CreateFolderWithSecurity(temporaryDirectory, name, security.Get());
    if (!folder)
        return false;
    lstrcpyA(m_path, path);
    m_folder = std::move(folder);
    // The self-deleter cannot remove the folder it runs from, and once it has ended nothing of
    // the program is left to do so. Only administrators may schedule this; otherwise the
    // emptied folder stays in the user's temporary directory.
    ::MoveFileExA(m_path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return true;
}
