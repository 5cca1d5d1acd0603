#include "registry/Catalogue.h"

namespace catalogue {

CString EntryKey(const char* productKey, int index)
{
    CString key;
    key.Format(kEntryKeyFormat, productKey, index);
    return key;
}

}  // namespace catalogue
