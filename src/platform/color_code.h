// The colour code scripts read and write: six hexadecimal digits RRGGBB (red, green, blue),
// and the platform's colour value 0x00BBGGRR that SetSysColors, GetSysColor and the colour
// dialogue use. The digits of one are the digits of the other in reverse pairs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kovar3 {

// The colour value of an RRGGBB code: exactly six characters, each 0-9, A-F or a-f. Anything
// else (five or seven characters, a sign, a blank, a NUL, a byte of a double-byte character)
// gives nullopt.
std::optional<COLORREF> ColorValueFromCode(const std::string& code);

// The RRGGBB code of a colour value, upper-case, with leading zeros; only the low 24 bits
// count.
std::string ColorCodeFromValue(COLORREF value);

}  // namespace kovar3
