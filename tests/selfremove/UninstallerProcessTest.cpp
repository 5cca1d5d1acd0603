#include "selfremove/UninstallerProcess.h"

#include "framework/UniqueHandle.h"
#include "tests/selfremove/ChildProcess.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace testing_support;

TEST(UninstallerProcess, OnlyAHandleOfAnotherProcessIsWaitedOn)
{
    // A process that never runs a line: it ends only when the test kills it.
    ChildProcess::Options suspended;
    suspended.creationFlags = CREATE_SUSPENDED;
    ChildProcess other("\"" + OwnProgramPath() + "\" --gtest_list_tests", suspended);
    ASSERT_TRUE(other.Started());

    KernelHandle synchronizeOnly(::OpenProcess(SYNCHRONIZE, FALSE, other.Id()));
    KernelHandle ownProcess(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                          ::GetCurrentProcessId()));
    KernelHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ScopedTestDirectory folder;
    WriteTextFile(folder / "f.txt");
    KernelHandle file(::CreateFileA((folder / "f.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    HANDLE closed = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::CloseHandle(closed);
    ASSERT_TRUE(synchronizeOnly && ownProcess && event && file);

    const struct {
        const char* name;
        HANDLE handle;
        bool waited;
    } cases[] = {
        {"another process, SYNCHRONIZE only", synchronizeOnly.Get(), true},
        {"another process, full access", other.Handle(), true},
        {"this process through a real handle", ownProcess.Get(), false},
        {"this process's pseudo handle", ::GetCurrentProcess(), false},
        {"this thread's pseudo handle", ::GetCurrentThread(), false},
        {"null", nullptr, false},
        {"an event", event.Get(), false},
        {"a file", file.Get(), false},
        {"a closed handle", closed, false},
        {"a value that is no handle", LongToHandle(99996), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.waited, IsOtherProcessHandle(c.handle));
    }
    file.Reset();
}

}  // namespace
