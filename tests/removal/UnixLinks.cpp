#include "tests/removal/UnixLinks.h"

#include <windows.h>

#include <vector>

namespace testing_support {

namespace {

// The Unix path of a Windows path, from the emulator's own kernel32 export.
std::string UnixPath(const std::string& windowsPath)
{
    using GetUnixFileName = char*(CDECL*)(const WCHAR*);
    const auto getUnixFileName = reinterpret_cast<GetUnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!getUnixFileName)
        return std::string();
    std::vector<WCHAR> wide(windowsPath.size() + 1);
    ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    char* unixPath = getUnixFileName(wide.data());
    if (!unixPath)
        return std::string();
    std::string result(unixPath);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

// Starts /bin/sh with a command. The emulator starts Unix programs without a process
// handle to wait on, so callers poll for the outcome.
bool StartShellCommand(const std::string& command)
{
    std::string commandLine = "sh -c \"" + command + "\"";
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA("Z:\\bin\\sh", writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    if (process.hThread)
        ::CloseHandle(process.hThread);
    if (process.hProcess)
        ::CloseHandle(process.hProcess);
    return true;
}

// Waits up to ten seconds for a Windows path to exist (or, with exists false, to be gone).
bool WaitForPath(const std::string& path, bool exists)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000; ::Sleep(10)) {
        if ((::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) == exists)
            return true;
    }
    return false;
}

// The Windows path of a Unix path, through the drive that maps the Unix root.
std::string WindowsPathOfUnix(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string NameOf(const std::string& windowsPath)
{
    const size_t cut = windowsPath.find_last_of("\\/");
    return cut == std::string::npos ? windowsPath : windowsPath.substr(cut + 1);
}

std::string ParentOf(const std::string& windowsPath)
{
    const size_t cut = windowsPath.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : windowsPath.substr(0, cut);
}

}  // namespace

ScopedDirectoryLink::ScopedDirectoryLink(const std::string& link, const std::string& target)
{
    const std::string unixFolder = UnixPath(ParentOf(link));
    const std::string unixTarget = UnixPath(target);
    if (unixFolder.empty() || unixTarget.empty())
        return;
    m_unixLink = unixFolder + (unixFolder.back() == '/' ? "" : "/") + NameOf(link);
    m_valid = StartShellCommand("ln -s '" + unixTarget + "' '" + m_unixLink + "'") && WaitForPath(link, true);
    m_windowsLink = link;
}

ScopedDirectoryLink::~ScopedDirectoryLink()
{
    // The platform layer cannot remove such a link either.
    if (!m_unixLink.empty() && StartShellCommand("rm -f '" + m_unixLink + "'"))
        WaitForPath(m_windowsLink, false);
}

ScopedNetworkServer::ScopedNetworkServer(const std::string& server, const std::string& directory)
{
    // Network paths map to <prefix>/dosdevices/unc/<server>/<share>; C: is <prefix>/dosdevices/c:.
    std::string driveC = UnixPath("C:\\");
    const std::string unixDirectory = UnixPath(directory);
    const size_t cut = driveC.rfind("/c:");
    if (cut == std::string::npos || unixDirectory.empty())
        return;
    const std::string uncFolder = driveC.substr(0, cut) + "/unc";
    m_unixLink = uncFolder + "/" + server;
    m_valid = StartShellCommand("mkdir -p '" + uncFolder + "' && ln -s '" + unixDirectory + "' '" + m_unixLink + "'") &&
              WaitForPath(WindowsPathOfUnix(m_unixLink), true);
}

ScopedNetworkServer::~ScopedNetworkServer()
{
    if (!m_unixLink.empty() && StartShellCommand("rm -f '" + m_unixLink + "'"))
        WaitForPath(WindowsPathOfUnix(m_unixLink), false);
}

}  // namespace testing_support
