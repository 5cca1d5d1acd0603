#include "registry/RegistryCalls.h"

namespace {
const RegistryCalls* g_replacement = nullptr;
}

const RegistryCalls& PlatformRegistryCalls()
{
    // A function-local table: the addresses of imported functions are only known at run time.
    static const RegistryCalls platformCalls = {
        &::RegOpenKeyExA, &::RegCreateKeyExA, &::RegQueryValueExA,
        &::RegSetValueExA, &::RegDeleteKeyA, &::RegCloseKey, &::RegNotifyChangeKeyValue,
    };
    return platformCalls;
}

const RegistryCalls& CurrentRegistryCalls()
{
    return g_replacement ? *g_replacement : PlatformRegistryCalls();
}

void SetRegistryCallsForTesting(const RegistryCalls* calls)
{
    g_replacement = calls;
}
