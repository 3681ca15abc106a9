// Text at the platform boundary: the exact conversion to the ANSI code page, and ANSI text
// searched, trimmed and upper-cased by character.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/errors.h"
#include "platform/text.h"
#include "support/code_page.h"

namespace kovar3 {
namespace {

using test::CodePageHolds;

TEST(ToAnsi, RefusesWhatTheCodePageCannotHold)
{
    // Each would best-fit or default to something else: U+017A to "z", CJK to "?", a lone
    // surrogate to "?".
    for (const std::wstring text : {L"\u017A", L"a\u017Ab", L"\u0E01", L"x\xD800"}) {
        if (CodePageHolds(text)) continue;
        try {
            ToAnsi(text);
            ADD_FAILURE() << "converted";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.hr(), kTextOutsideCodePage);
        }
    }
    // What the code page holds converts as before, embedded NULs and "?" included.
    EXPECT_EQ(ToAnsi(std::wstring(L"a\0b?", 4)), std::string("a\0b?", 4));
    if (::GetACP() == 1252) {
        EXPECT_EQ(ToAnsi(L"caf\u00E9"), "caf\xE9");
    }
}

// In a code page of single bytes every byte is a character.
TEST(AnsiCharacters, SingleByteCodePage)
{
    if (::GetACP() != 1252) GTEST_SKIP() << "code page " << ::GetACP();
    EXPECT_EQ(FindLastAnsiChar("a\\b\\c", "\\"), 3u);
    EXPECT_EQ(FindFirstAnsiChar("a\\b/c", "/\\"), 1u);
    EXPECT_EQ(FindLastAnsiChar("abc", "\\"), std::string::npos);
    EXPECT_TRUE(EndsWithAnsiChar("a\x95\\", "\\"));  // 0x95 is a character of its own here
    EXPECT_FALSE(EndsWithAnsiChar("", "\\"));
    EXPECT_EQ(UpperAscii("caf\xE9 ok"), "CAF\xE9 OK");
}

}  // namespace
}  // namespace kovar3
