// The process's ANSI code page, for tests whose cases depend on it. Wine takes the code page
// from the process's LANG: scripts/test.sh runs the DoubleByteCodePage tests once more with
// LANG=ja_JP.UTF-8 (code page 932) and KOVAR3_EXPECT_CODEPAGE=932.
#pragma once

#include <string>

namespace kovar3::test {

// Whether the ANSI code page holds every character of `text` exactly (no default character,
// no look-alike).
bool CodePageHolds(const std::wstring& text);

// Whether the ANSI code page has characters of two bytes (932, 936, 949, 950).
bool IsDoubleByteCodePage();

// The code page KOVAR3_EXPECT_CODEPAGE names, or 0 when it is not set.
unsigned ExpectedCodePage();

}  // namespace kovar3::test
