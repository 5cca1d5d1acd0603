#include "tests/selfremove/ChildProcess.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>

namespace testing_support {

ChildProcess::ChildProcess(const std::string& commandLine, const Options& options)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    std::vector<char> environment = options.environment;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, options.inheritHandles ? TRUE : FALSE,
                         options.creationFlags, environment.empty() ? nullptr : environment.data(),
                         options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(), &startup,
                         &info)) {
        m_process.Reset(info.hProcess);
        m_thread.Reset(info.hThread);
        m_id = info.dwProcessId;
    }
}

ChildProcess::~ChildProcess()
{
    Kill();
}

bool ChildProcess::WaitForEnd(DWORD milliseconds) const
{
    return m_process && ::WaitForSingleObject(m_process.Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

void ChildProcess::Kill()
{
    if (m_process && !WaitForEnd(0)) {
        ::TerminateProcess(m_process.Get(), 1);
        ::WaitForSingleObject(m_process.Get(), 5000);
    }
}

Descendants::~Descendants()
{
    for (const KernelHandle& process : m_processes) {
        if (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
            ::TerminateProcess(process.Get(), 1);
            ::WaitForSingleObject(process.Get(), 5000);
        }
    }
}

void Descendants::Collect(DWORD parent)
{
    KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID != parent ||
            std::find(m_ids.begin(), m_ids.end(), entry.th32ProcessID) != m_ids.end())
            continue;
        KernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process) {
            m_ids.push_back(entry.th32ProcessID);
            m_processes.push_back(std::move(process));
        }
    }
}

bool Descendants::WaitForAll(DWORD milliseconds) const
{
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (const KernelHandle& process : m_processes) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (::WaitForSingleObject(process.Get(), left) != WAIT_OBJECT_0)
            return false;
    }
    return true;
}

std::vector<char> EnvironmentWith(const std::vector<std::string>& settings)
{
    std::vector<std::string> variables;
    char* block = ::GetEnvironmentStringsA();
    for (const char* p = block; *p; p += std::strlen(p) + 1) {
        const std::string variable = p;
        const bool replaced = std::any_of(settings.begin(), settings.end(), [&](const std::string& setting) {
            const size_t nameLength = setting.find('=') + 1;
            return variable.size() >= nameLength && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                                                                     variable.c_str(), static_cast<int>(nameLength),
                                                                     setting.c_str(), static_cast<int>(nameLength)) ==
                                                        CSTR_EQUAL;
        });
        if (!replaced)
            variables.push_back(variable);
    }
    ::FreeEnvironmentStringsA(block);
    variables.insert(variables.end(), settings.begin(), settings.end());
    std::vector<char> result;
    for (const std::string& variable : variables) {
        result.insert(result.end(), variable.begin(), variable.end());
        result.push_back('\0');
    }
    result.push_back('\0');
    return result;
}

std::string OwnProgramPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

}  // namespace testing_support
