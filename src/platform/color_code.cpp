#include "platform/color_code.h"

namespace kovar3 {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

void AppendByte(std::string& out, unsigned value)
{
    out += kDigits[(value >> 4) & 0xF];
    out += kDigits[value & 0xF];
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string ColorCodeOf(COLORREF color)
{
    std::string code;
    code.reserve(6);
    AppendByte(code, GetRValue(color));
    AppendByte(code, GetGValue(color));
    AppendByte(code, GetBValue(color));
    return code;
}

std::optional<COLORREF> ColorOfCode(const std::string& code)
{
    if (code.size() != 6) return std::nullopt;
    unsigned bytes[3];
    for (int i = 0; i < 3; ++i) {
        const int high = DigitValue(code[2 * i]);
        const int low = DigitValue(code[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[i] = static_cast<unsigned>(high * 16 + low);
    }
    return RGB(bytes[0], bytes[1], bytes[2]);
}

}  // namespace kovar3
