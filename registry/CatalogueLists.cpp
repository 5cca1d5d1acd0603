#include "registry/CatalogueLists.h"

#include "registry/RegistryCalls.h"
#include "registry/RegistryPath.h"

namespace catalogue {

namespace {

RegistryKey OpenEntry(const char* entryKey)
{
    return RegistryKey(OpenKeyPath(HKEY_LOCAL_MACHINE, entryKey, false, kKeyPathAccess));
}

}  // namespace

ValueList ReadList(HKEY entryKey, const char* nameFormat)
{
    ValueList list;
    for (int n = 1;; ++n) {
        CString valueName;
        valueName.Format(nameFormat, n);
        char buffer[kValueBufferSize];
        DWORD capacity = sizeof buffer;  // set anew for every read: a read lowers it
        ListedValue value;
        if (ReadKeyStringValueFast(entryKey, valueName, buffer, capacity, &value.cut) != kRegistryOk)
            return list;
        value.text = buffer;
        list.push_back(value);
    }
}

RemovalLists ReadRemovalLists(const char* productKey, const char* entryKey)
{
    RemovalLists lists;
    if (RegistryKey own = OpenEntry(entryKey)) {
        lists.links = ReadList(own.Get(), kLinkValueFormat);
        lists.files = ReadList(own.Get(), kFileValueFormat);
    }
    for (int i = kFirstOtherEntry; i <= kLastOtherEntry; ++i) {
        CString candidate;
        candidate.Format(kOtherEntryKeyFormat, productKey, i);
        // The same skip as the other-entry query's: an entry never protects its own files.
        if (candidate.CompareNoCase(entryKey) == 0)
            continue;
        if (RegistryKey other = OpenEntry(candidate)) {
            lists.otherFiles.push_back(ReadList(other.Get(), kFileValueFormat));
            lists.otherLinks.push_back(ReadList(other.Get(), kLinkValueFormat));
        }
    }
    return lists;
}

}  // namespace catalogue
