#include "support/expected_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kovar3::test {
namespace {

// The number the test command set in `variable` for this run, or `otherwise`.
DWORD Expected(const char* variable, DWORD otherwise)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (test && std::string(test->test_suite_name()).rfind("Family", 0) != 0)
        ADD_FAILURE() << test->test_suite_name()
                      << " depends on the Windows version: name its suite Family... so that "
                         "the Windows 98 and NT 4 runs select it";
    const char* value = std::getenv(variable);
    return value ? std::strtoul(value, nullptr, 10) : otherwise;
}

}  // namespace

DWORD ExpectedPlatform() { return Expected("KOVAR3_EXPECT_PLATFORM", VER_PLATFORM_WIN32_NT); }

bool ExpectWin98Family() { return ExpectedPlatform() == VER_PLATFORM_WIN32_WINDOWS; }

DWORD ExpectedMajorVersion() { return Expected("KOVAR3_EXPECT_MAJOR", 0); }

}  // namespace kovar3::test
