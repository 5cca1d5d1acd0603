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
    ListedValue value;
    for (int n = 1; ReadListedValue(entryKey, nameFormat, n, &ReadKeyStringValueFast, value); ++n)
        list.push_back(value);
    return list;
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
