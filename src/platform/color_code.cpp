#include "platform/color_code.h"

#include "platform/text.h"

namespace kovar3 {

std::optional<COLORREF> ColorValueFromCode(const std::string& code)
{
    if (code.size() != 6) return std::nullopt;
    int component[3] = {};  // red, green, blue
    for (size_t i = 0; i < 6; ++i) {
        const int digit = HexDigitValue(code[i]);
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
