// Test entry point: every test runs in a single-threaded apartment, as a script host's
// objects do.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A fault (a read past a guard page, say) ends the program at once with the test's name, so
// that the run reports it: without this, Wine would start its debugger and wait for a click.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("\ncrashed in %s.%s: exception 0x%08lX at %p\n",
                test ? test->test_suite_name() : "(no test)", test ? test->name() : "",
                exception->ExceptionRecord->ExceptionCode,
                exception->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv)
{
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(ReportCrash);
    ::testing::InitGoogleTest(&argc, argv);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int status = RUN_ALL_TESTS();
    ::CoUninitialize();
    return status;
}
