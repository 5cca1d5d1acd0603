#include "registry/Catalogue.h"

#include "registry/RegistryCalls.h"
#include "registry/RegistryPath.h"

namespace catalogue {

CString EntryKey(const char* productKey, int index)
{
    CString key;
    key.Format(kEntryKeyFormat, productKey, index);
    return key;
}

bool ReadValue(const char* keyPath, const char* valueName, CString& value)
{
    char buffer[kValueBufferSize];
    DWORD capacity = sizeof buffer;  // set anew for every read: a read lowers it
    if (ReadStringValue(HKEY_LOCAL_MACHINE, keyPath, valueName, buffer, capacity) != kRegistryOk)
        return false;
    value = buffer;
    return true;
}

bool ReadNumberedValue(const char* entryKey, const char* nameFormat, int n, CString& value)
{
    CString valueName;
    valueName.Format(nameFormat, n);
    return ReadValue(entryKey, valueName, value);
}

bool ReadNumberedValue(const char* entryKey, const char* nameFormat, int n, ListedValue& value)
{
    RegistryKey key(OpenKeyPath(HKEY_LOCAL_MACHINE, entryKey, false, kKeyPathAccess));
    return key && ReadListedValue(key.Get(), nameFormat, n, &ReadKeyStringValue, value);
}

bool ReadListedValue(HKEY entryKey, const char* nameFormat, int n, KeyValueRead read, ListedValue& value)
{
    CString valueName;
    valueName.Format(nameFormat, n);
    char buffer[kValueBufferSize];
    DWORD capacity = sizeof buffer;  // set anew for every read: a read lowers it
    bool cut = false;
    if (read(entryKey, valueName, buffer, capacity, &cut) != kRegistryOk)
        return false;
    value.text = buffer;
    value.cut = cut;
    return true;
}

}  // namespace catalogue
