#include "selfremove/UninstallerProcess.h"

#include <winternl.h>

#include <cstring>

namespace {

using NtQueryObjectFunction = NTSTATUS(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);

// The kind of kernel object a handle refers to ("Process", "Event", ...). Asking for the
// type needs no access right, unlike GetProcessId, which needs a query right that the
// uninstaller's SYNCHRONIZE handle does not carry.
bool IsProcessObject(HANDLE handle)
{
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    if (!ntdll)
        return false;
    const auto queryObject = reinterpret_cast<NtQueryObjectFunction>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryObject")));
    if (!queryObject)
        return false;
    // The type name follows the structure in the same buffer.
    alignas(8) unsigned char buffer[1024];
    ULONG returned = 0;
    if (!NT_SUCCESS(queryObject(handle, ObjectTypeInformation, buffer, sizeof buffer, &returned)))
        return false;
    const auto* info = reinterpret_cast<const PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer);
    static const wchar_t kProcess[] = L"Process";
    const size_t expectedBytes = sizeof kProcess - sizeof kProcess[0];
    return info->TypeName.Buffer && info->TypeName.Length == expectedBytes &&
           std::memcmp(info->TypeName.Buffer, kProcess, expectedBytes) == 0;
}

}  // namespace

bool IsOtherProcessHandle(HANDLE handle)
{
    // Null, and the pseudo handles of this process, its thread and its tokens (-1, -2, ...).
    if (HandleToLong(handle) <= 0)
        return false;
    if (!IsProcessObject(handle))
        return false;
    // A handle that allows the question can still be this process's own.
    const DWORD id = ::GetProcessId(handle);
    return id == 0 || id != ::GetCurrentProcessId();
}
