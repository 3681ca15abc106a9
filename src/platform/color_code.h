// Hexadecimal colour codes as scripts write them: six digits RRGGBB (red, green, blue), while
// a Windows colour value (COLORREF) holds 0x00BBGGRR, red in its lowest byte.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kovar3 {

// "RRGGBB" in upper case for a colour value; the value's high byte is ignored.
std::string ColorCodeOf(COLORREF color);

// The colour value a code names: exactly six hexadecimal digits, either letter case.
// Anything else (five or seven characters, a sign, a space, "G") gives nothing.
std::optional<COLORREF> ColorOfCode(const std::string& code);

}  // namespace kovar3
