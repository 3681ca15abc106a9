// The Windows version the test program runs as. scripts/test.sh runs every test as the
// NT-family program it is, then the test suites whose names start with "Family" once more as a
// program that Wine reports as Windows 98 (KOVAR3_EXPECT_PLATFORM=1) and once as Windows NT 4
// (KOVAR3_EXPECT_MAJOR=4).
//
// A test whose expectations depend on the version reads them here, and lives in a suite named
// "Family..." so that those runs cannot leave it out: reading the expected version from a
// suite of any other name fails the test.
#pragma once

#include <windows.h>

namespace kovar3::test {

// The platform GetVersionExA is expected to report: VER_PLATFORM_WIN32_NT (2), or
// VER_PLATFORM_WIN32_WINDOWS (1) in the Windows 98 run.
DWORD ExpectedPlatform();

// True in the Windows 98 run.
bool ExpectWin98Family();

// The major version GetVersionExA is expected to report: 4 in the Windows NT 4 run, 0 where
// the run expects no particular one.
DWORD ExpectedMajorVersion();

}  // namespace kovar3::test
