#include "tests/registry/RecordingRegistry.h"

namespace {

RegistryCallLog g_log;

LSTATUS WINAPI RecordOpen(HKEY parent, LPCSTR name, DWORD options, REGSAM access, PHKEY result)
{
    g_log.names.push_back(name ? name : "");
    g_log.access.push_back(access);
    if (g_log.refuseName == (name ? name : ""))
        return ERROR_ACCESS_DENIED;
    const LSTATUS status = PlatformRegistryCalls().openKey(parent, name, options, access, result);
    g_log.keysOpened += status == ERROR_SUCCESS;
    return status;
}

LSTATUS WINAPI RecordCreate(HKEY parent, LPCSTR name, DWORD reserved, LPSTR keyClass, DWORD options,
                            REGSAM access, const LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition)
{
    g_log.names.push_back(name ? name : "");
    g_log.access.push_back(access);
    if (g_log.refuseName == (name ? name : ""))
        return ERROR_ACCESS_DENIED;
    const LSTATUS status = PlatformRegistryCalls().createKey(parent, name, reserved, keyClass, options, access,
                                                             security, result, disposition);
    g_log.keysOpened += status == ERROR_SUCCESS;
    return status;
}

LSTATUS WINAPI RecordQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    if (++g_log.queries == g_log.failQueryNumber)
        return ERROR_MORE_DATA;
    return PlatformRegistryCalls().queryValue(key, name, reserved, type, data, size);
}

LSTATUS WINAPI RecordDelete(HKEY key, LPCSTR name)
{
    ++g_log.deletes;
    return PlatformRegistryCalls().deleteKey(key, name);
}

LSTATUS WINAPI RecordClose(HKEY key)
{
    ++g_log.keysClosed;
    return PlatformRegistryCalls().closeKey(key);
}

const RegistryCalls kRecordingCalls = {
    &RecordOpen, &RecordCreate, &RecordQuery, &::RegSetValueExA, &RecordDelete, &RecordClose,
    &::RegNotifyChangeKeyValue,
};

}  // namespace

ScopedRecordingRegistry::ScopedRecordingRegistry()
{
    g_log = RegistryCallLog();
    SetRegistryCallsForTesting(&kRecordingCalls);
}

ScopedRecordingRegistry::~ScopedRecordingRegistry()
{
    SetRegistryCallsForTesting(nullptr);
}

RegistryCallLog& ScopedRecordingRegistry::Log()
{
    return g_log;
}
