#include "app/UninstallApp.h"

#include "registry/Catalogue.h"
#include "registry/RegistryPath.h"
#include "res/resource.h"

CString ComposeProductKey()
{
    CString productName;
    productName.LoadString(IDS_PRODUCT_NAME);
    CString productKey;
    productKey.Format("%s\\%s", catalogue::kUninstallKey, productName.GetString());
    return productKey;
}

int ReadLanguageFlag(const char* productKey)
{
    char language[catalogue::kLanguageBufferSize];
    DWORD capacity = sizeof language;
    if (ReadStringValue(HKEY_LOCAL_MACHINE, productKey, catalogue::kLanguageValue, language, capacity) != kRegistryOk)
        language[0] = 'E';
    // Only the first byte counts, and only an upper-case D.
    return language[0] == 'D' ? 1 : 0;
}
