#include "tests/support/Shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "framework/UniqueHandle.h"

namespace testing_support {

namespace {

std::wstring Wide(const std::string& text)
{
    std::vector<WCHAR> wide(text.size() + 1);
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    return std::wstring(wide.data());
}

// COM for the span of one call; balanced whether or not the thread had it already.
class ComScope {
public:
    ComScope() : m_result(::CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    bool IsReady() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

// The folders on the way to a shortcut. Kept here rather than taken from the test fixtures:
// the demo tools make shortcuts too, and they are built without the test framework.
void MakeFolders(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

ComPtr<IShellLinkA> NewLink()
{
    IShellLinkA* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link))))
        return ComPtr<IShellLinkA>();
    return ComPtr<IShellLinkA>(link);
}

ComPtr<IPersistFile> PersistFileOf(const ComPtr<IShellLinkA>& link)
{
    IPersistFile* file = nullptr;
    if (FAILED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        return ComPtr<IPersistFile>();
    return ComPtr<IPersistFile>(file);
}

}  // namespace

bool MakeShortcut(const std::string& shortcutPath, const std::string& targetPath)
{
    const size_t cut = shortcutPath.find_last_of("\\/");
    if (cut != std::string::npos)
        MakeFolders(shortcutPath.substr(0, cut));

    ComScope com;
    if (!com.IsReady())
        return false;
    ComPtr<IShellLinkA> link = NewLink();
    if (!link || FAILED(link.Get()->SetPath(targetPath.c_str())))
        return false;
    ComPtr<IPersistFile> file = PersistFileOf(link);
    return file && SUCCEEDED(file.Get()->Save(Wide(shortcutPath).c_str(), TRUE));
}

std::string ReadShortcutTarget(const std::string& shortcutPath)
{
    ComScope com;
    if (!com.IsReady())
        return std::string();
    ComPtr<IShellLinkA> link = NewLink();
    if (!link)
        return std::string();
    ComPtr<IPersistFile> file = PersistFileOf(link);
    if (!file || FAILED(file.Get()->Load(Wide(shortcutPath).c_str(), STGM_READ)))
        return std::string();
    char target[MAX_PATH] = "";
    WIN32_FIND_DATAA findData{};
    link.Get()->GetPath(target, sizeof target, &findData, 0);
    return target;
}

}  // namespace testing_support
