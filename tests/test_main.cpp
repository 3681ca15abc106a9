// Test entry point: every test runs in a single-threaded apartment, as a script host's
// objects do.
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int status = RUN_ALL_TESTS();
    ::CoUninitialize();
    return status;
}
