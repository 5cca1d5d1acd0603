#include "tests/support/ShellLinks.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "framework/UniqueHandle.h"

namespace testing_support {

namespace {

// COM for the span of one call; uninitialised only when this call initialised it.
class ComScope {
public:
    ComScope() : m_result(::CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_result;
};

std::string Failed(const char* what, HRESULT result)
{
    char text[160];
    wsprintfA(text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(result));
    return text;
}

void MakeParentDirectories(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos)
        return;
    for (size_t i = 3; i <= cut; ++i) {
        if (i == cut || path[i] == '\\' || path[i] == '/')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

}  // namespace

std::string CreateShellLink(const std::string& linkPath, const std::string& targetPath)
{
    ComScope com;
    IShellLinkA* rawLink = nullptr;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                        reinterpret_cast<void**>(&rawLink));
    if (FAILED(result))
        return Failed("CoCreateInstance(CLSID_ShellLink)", result);
    ComPtr<IShellLinkA> link(rawLink);
    result = link.Get()->SetPath(targetPath.c_str());
    if (FAILED(result))
        return Failed("IShellLinkA::SetPath", result);

    IPersistFile* rawFile = nullptr;
    result = link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile));
    if (FAILED(result))
        return Failed("QueryInterface(IPersistFile)", result);
    ComPtr<IPersistFile> file(rawFile);

    wchar_t widePath[MAX_PATH * 2];
    if (!::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH * 2))
        return "link path does not convert to UTF-16";
    MakeParentDirectories(linkPath);
    result = file.Get()->Save(widePath, TRUE);
    if (FAILED(result))
        return Failed("IPersistFile::Save", result);
    return "";
}

}  // namespace testing_support
