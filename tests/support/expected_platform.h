// The platform the test program runs as. scripts/test.sh runs the tests twice: once as the
// NT-family program it is, and once more as a program that Wine reports as Windows 98 (with
// KOVAR3_EXPECT_PLATFORM=1), selecting there every test suite whose name starts with "Family".
//
// A test whose expectations depend on the family reads them here, and lives in a suite named
// "Family..." so that the Windows 98 run cannot leave it out: reading the platform from a
// suite of any other name fails the test.
#pragma once

#include <windows.h>

namespace kovar3::test {

// The platform GetVersionExA is expected to report: VER_PLATFORM_WIN32_NT (2), or
// VER_PLATFORM_WIN32_WINDOWS (1) in the Windows 98 run.
DWORD ExpectedPlatform();

// True in the Windows 98 run.
bool ExpectWin98Family();

}  // namespace kovar3::test
