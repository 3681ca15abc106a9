// Colour codes RRGGBB against Windows colour values 0x00BBGGRR.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/color_code.h"

namespace kovar3 {
namespace {

struct CodeCase {
    COLORREF color;
    const char* code;
};

const CodeCase kCodes[] = {
    {RGB(255, 0, 0), "FF0000"},        {RGB(0, 0, 255), "0000FF"}, {RGB(0, 0, 0), "000000"},
    {RGB(0x12, 0x34, 0x56), "123456"},  // each byte keeps its place and its leading zero
    {RGB(0x0A, 0xBC, 0x0D), "0ABC0D"},
};

TEST(ColorCode, WritesRedGreenBlueInUpperCase)
{
    for (const CodeCase& c : kCodes) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ColorCodeOf(c.color), c.code);
        EXPECT_EQ(ColorOfCode(c.code), c.color);
    }
    EXPECT_EQ(ColorCodeOf(0xFF123456), "563412") << "the high byte is not part of the colour";
}

TEST(ColorCode, ReadsEitherCaseAndRefusesAnythingElse)
{
    EXPECT_EQ(ColorOfCode("ff8000"), RGB(255, 128, 0));
    EXPECT_EQ(ColorOfCode("aBcDeF"), RGB(0xAB, 0xCD, 0xEF));
    for (const char* bad :
         {"", "FF000", "FF00000", "GG0000", " FF000", "+12345", "-12345", "0x1234", "12 456"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ColorOfCode(bad).has_value());
    }
    EXPECT_FALSE(ColorOfCode(std::string("FF\0"
                                         "000",
                                         6))
                     .has_value());
}

}  // namespace
}  // namespace kovar3
