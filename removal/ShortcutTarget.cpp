#include "removal/ShortcutTarget.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "framework/UniqueHandle.h"

namespace removal {

bool ReadShortcutTarget(const CString& linkPath, CString& target)
{
    // COM is initialised for this one read only. S_FALSE means someone else initialised it
    // on this thread; that counts as a failure, and nothing is uninitialised then.
    if (::CoInitialize(nullptr) != S_OK)
        return false;

    bool read = false;
    IShellLinkA* createdLink = nullptr;
    if (::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                           reinterpret_cast<void**>(&createdLink)) == S_OK) {
        ComPtr<IShellLinkA> link(createdLink);

        IPersistFile* persistFile = nullptr;
        if (link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persistFile)) == S_OK) {
            ComPtr<IPersistFile> file(persistFile);
            // Empty if the conversion fails; the load then finds nothing.
            std::vector<WCHAR> name(static_cast<size_t>(linkPath.GetLength()) + 1, L'\0');
            ::MultiByteToWideChar(CP_ACP, 0, linkPath, -1, name.data(), static_cast<int>(name.size()));
            file.Get()->Load(name.data(), STGM_READ);
        }

        // Cleared first: a shortcut that did not load, or has no file target, yields an empty
        // target, and an empty target names no file.
        char buffer[MAX_PATH] = "";
        WIN32_FIND_DATAA findData{};
        link.Get()->GetPath(buffer, sizeof buffer, &findData, 0);
        target = buffer;
        read = buffer[0] != '\0';
    }  // the link object goes before COM does

    ::CoUninitialize();
    return read;
}

}  // namespace removal
