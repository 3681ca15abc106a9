#include "platform/color_code.h"

namespace kovar3 {
namespace {

// The value of one hexadecimal digit, or -1; ASCII only, whatever the locale says.
int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<COLORREF> ColorValueFromCode(const std::string& code)
{
    if (code.size() != 6) return std::nullopt;
    int component[3] = {};  // red, green, blue
    for (size_t i = 0; i < 6; ++i) {
        const int digit = DigitValue(code[i]);
        if (digit < 0) return std::nullopt;
        component[i / 2] = component[i / 2] * 16 + digit;
    }
    return RGB(component[0], component[1], component[2]);
}

std::string ColorCodeFromValue(COLORREF value)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const int components[3] = {GetRValue(value), GetGValue(value), GetBValue(value)};
    std::string code;
    for (const int c : components) {
        code += kDigits[c >> 4];
        code += kDigits[c & 0xF];
    }
    return code;
}

}  // namespace kovar3
