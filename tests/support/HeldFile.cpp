#include "tests/support/HeldFile.h"

#include "support/TestPaths.h"

namespace testing_support {

namespace {

constexpr DWORD kHolderTimeoutMs = 15000;

std::string EventName(const char* role)
{
    static int counter = 0;
    return "KorvaneTestHeldFile-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter) + "-" +
           role;
}

}  // namespace

HeldFile::HeldFile(const std::string& path)
{
    const std::string readyName = EventName("ready");
    const std::string releaseName = EventName("release");
    m_ready.Reset(::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    m_release.Reset(::CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    if (!m_ready || !m_release)
        return;

    std::string commandLine =
        "\"" TEST_FILE_HOLDER_EXE "\" \"" + path + "\" " + readyName + " " + releaseName;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return;
    ::CloseHandle(started.hThread);
    m_process.Reset(started.hProcess);

    // Ready, or ended because it could not open the file: whichever comes first.
    const HANDLE waitFor[] = {m_ready.Get(), m_process.Get()};
    m_held = ::WaitForMultipleObjects(2, waitFor, FALSE, kHolderTimeoutMs) == WAIT_OBJECT_0;
}

HeldFile::~HeldFile()
{
    if (!Release() && m_process) {
        ::TerminateProcess(m_process.Get(), 1);
        ::WaitForSingleObject(m_process.Get(), kHolderTimeoutMs);
    }
}

bool HeldFile::Release()
{
    if (!m_process)
        return false;
    ::SetEvent(m_release.Get());
    m_held = false;
    return ::WaitForSingleObject(m_process.Get(), kHolderTimeoutMs) == WAIT_OBJECT_0;
}

}  // namespace testing_support
