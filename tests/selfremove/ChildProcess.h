// Processes that a test starts: waited on with deadlines, and killed if still running when
// the test is over, whatever its outcome.
#pragma once
#include <windows.h>

#include "framework/UniqueHandle.h"

#include <string>
#include <vector>

namespace testing_support {

class ChildProcess {
public:
    struct Options {
        std::string currentDirectory;          // empty: the test's own
        std::vector<char> environment;         // empty: the test's own
        bool inheritHandles = false;
        DWORD creationFlags = 0;
    };

    ChildProcess(const std::string& commandLine, const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_process.IsValid(); }
    HANDLE Handle() const { return m_process.Get(); }
    DWORD Id() const { return m_id; }
    // True when the process ended within the time; it is left running otherwise.
    bool WaitForEnd(DWORD milliseconds) const;
    DWORD ExitCode() const;
    void Kill();

private:
    KernelHandle m_process;
    KernelHandle m_thread;
    DWORD m_id = 0;
};

// Handles to the running processes that the given process started; killed on destruction.
class Descendants {
public:
    ~Descendants();
    // Adds the children of `parent` that are running now and not yet held.
    void Collect(DWORD parent);
    size_t Count() const { return m_processes.size(); }
    const std::vector<DWORD>& Ids() const { return m_ids; }
    // True when every held process ended before the deadline.
    bool WaitForAll(DWORD milliseconds) const;

private:
    std::vector<DWORD> m_ids;
    std::vector<KernelHandle> m_processes;
};

// The environment of this process with the given variables set (NAME=value each).
std::vector<char> EnvironmentWith(const std::vector<std::string>& settings);

// The path of the running test program.
std::string OwnProgramPath();

}  // namespace testing_support
