// The entry of every test program. Output goes out unbuffered, and a crash is reported with
// its code and address: a test process that dies would otherwise take its buffered output,
// and with it every clue, along.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "test process crashed in %s.%s: exception 0x%08lx at %p\n",
                 test ? test->test_suite_name() : "?", test ? test->name() : "?",
                 static_cast<unsigned long>(record->ExceptionCode), record->ExceptionAddress);
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::SetUnhandledExceptionFilter(&ReportCrash);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
