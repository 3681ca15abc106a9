// The RRGGBB code scripts use against the platform's 0x00BBGGRR colour value.
#include "platform/color_code.h"

#include <gtest/gtest.h>

#include <string>

namespace kovar3 {
namespace {

using namespace std::string_literals;

struct CodeCase {
    std::string code;
    COLORREF value;
    std::string written;  // the code made from the value again
};
const CodeCase kCodes[] = {
    {"FF8000", 0x000080FF, "FF8000"},  // red is the lowest byte of the value
    {"ff8000", 0x000080FF, "FF8000"},
    {"0000FF", 0x00FF0000, "0000FF"},
    {"000000", 0x00000000, "000000"},
    {"00000a", 0x000A0000, "00000A"},  // leading zeros kept on the way out
    {"aBcDeF", 0x00EFCDAB, "ABCDEF"},
};

TEST(ColorCode, ReadsAndWritesRedGreenBlue)
{
    for (const CodeCase& c : kCodes) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ColorValueFromCode(c.code), c.value);
        EXPECT_EQ(ColorCodeFromValue(c.value), c.written);
    }
}

TEST(ColorCode, RefusesAnythingButSixDigits)
{
    for (const std::string& code :
         {""s, "12345"s, "1234567"s, "12345G"s, "12 456"s, "+12345"s, "-12345"s,
          "1234\0"
          "5"s,
          "12345\xE9"s,
          "\x82\x4F"
          "1234"s}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(ColorValueFromCode(code));
    }
}

TEST(ColorCode, OnlyTheLowThreeBytesOfAValueCount)
{
    EXPECT_EQ(ColorCodeFromValue(0xFF0000FF), "FF0000");
    EXPECT_EQ(ColorCodeFromValue(0x01000000), "000000");
}

}  // namespace
}  // namespace kovar3
