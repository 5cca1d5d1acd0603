// Directory links and network shares for the removal tests. The platform layer cannot make a
// directory link here, so the tests make Unix symbolic links with the system's own tools,
// which the file system then reports as directories with the reparse bit. Every link points
// inside the test's own folder, so nothing can reach beyond it.
#pragma once
#include <string>

namespace testing_support {

// A symbolic link `link` to the directory `target` (Windows paths, both inside the test's
// folder), removed again when the object goes out of scope.
class ScopedDirectoryLink {
public:
    ScopedDirectoryLink(const std::string& link, const std::string& target);
    ~ScopedDirectoryLink();
    ScopedDirectoryLink(const ScopedDirectoryLink&) = delete;
    ScopedDirectoryLink& operator=(const ScopedDirectoryLink&) = delete;
    bool IsValid() const { return m_valid; }

private:
    std::string m_unixLink;
    std::string m_windowsLink;
    bool m_valid = false;
};

// A network server name whose shares are the subdirectories of `directory`: "\\server\x"
// then names `directory`\x. Removed again when the object goes out of scope.
class ScopedNetworkServer {
public:
    ScopedNetworkServer(const std::string& server, const std::string& directory);
    ~ScopedNetworkServer();
    ScopedNetworkServer(const ScopedNetworkServer&) = delete;
    ScopedNetworkServer& operator=(const ScopedNetworkServer&) = delete;
    bool IsValid() const { return m_valid; }

private:
    std::string m_unixLink;
    bool m_valid = false;
};

}  // namespace testing_support
