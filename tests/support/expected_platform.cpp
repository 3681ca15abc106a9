#include "support/expected_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kovar3::test {

DWORD ExpectedPlatform()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (test && std::string(test->test_suite_name()).rfind("Family", 0) != 0)
        ADD_FAILURE() << test->test_suite_name()
                      << " depends on the family: name its suite Family... so that the "
                         "Windows 98 run selects it";
    const char* platform = std::getenv("KOVAR3_EXPECT_PLATFORM");
    return platform ? std::strtoul(platform, nullptr, 10) : VER_PLATFORM_WIN32_NT;
}

bool ExpectWin98Family() { return ExpectedPlatform() == VER_PLATFORM_WIN32_WINDOWS; }

}  // namespace kovar3::test
