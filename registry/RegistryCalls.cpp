#include "registry/RegistryCalls.h"

namespace {
const RegistryCalls kPlatformCalls = {
    &::RegOpenKeyExA, &::RegCreateKeyExA, &::RegQueryValueExA,
    &::RegSetValueExA, &::RegDeleteKeyA, &::RegCloseKey,
};
const RegistryCalls* g_current = &kPlatformCalls;
}

const RegistryCalls& PlatformRegistryCalls()
{
    return kPlatformCalls;
}

const RegistryCalls& CurrentRegistryCalls()
{
    return *g_current;
}

void SetRegistryCallsForTesting(const RegistryCalls* calls)
{
    g_current = calls ? calls : &kPlatformCalls;
}
