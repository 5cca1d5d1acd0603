// The platform registry calls that the key path functions and the catalogue watch make, gathered in one table so
// that a test can stand in for a failure the real registry will not produce on demand.
// Production code always uses the platform's own functions.
#pragma once
#include <windows.h>

#include "framework/UniqueHandle.h"

struct RegistryCalls {
    decltype(&::RegOpenKeyExA) openKey;
    decltype(&::RegCreateKeyExA) createKey;
    decltype(&::RegQueryValueExA) queryValue;
    decltype(&::RegSetValueExA) setValue;
    decltype(&::RegDeleteKeyA) deleteKey;
    decltype(&::RegCloseKey) closeKey;
    decltype(&::RegNotifyChangeKeyValue) notifyChange;
};

const RegistryCalls& PlatformRegistryCalls();
const RegistryCalls& CurrentRegistryCalls();
// Replaces the calls until the next replacement; null restores the platform's own.
void SetRegistryCallsForTesting(const RegistryCalls* calls);

// An open registry key, closed through the current registry calls.
struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Null() { return nullptr; }
    static bool IsNull(Handle key) { return key == nullptr; }
    static void Close(Handle key) { CurrentRegistryCalls().closeKey(key); }
};
using RegistryKey = UniqueHandle<RegistryKeyTraits>;
