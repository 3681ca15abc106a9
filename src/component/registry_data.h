// Registry data as a script hands it over and gets it back: the frames of RegWriteValue and
// RegGetValue turn variants into typed registry values and read values into variants here, so
// the registry module deals in plain values only.
#pragma once

#include <windows.h>

#include <string>

#include "platform/variant.h"
#include "registry/ModRegVals.h"

namespace kovar3 {

// Thrown by PrepareValue for a binary element that is not what the type code asks for (status 3
// of RegWriteValue).
class BadBinaryElement {};

// The value to write for the upper-cased type code `code` ("S", "X", "M", "D", "B" or "BH"):
// "S"/"X" the data as text; "M" the text of every element of a one-dimensional array (Empty and
// Null as "", each element ending at its first NUL); "D" the data as a 32-bit number; "B"
// numbers 0 to 255; "BH" two-digit hexadecimal texts in either case. Throws BadBinaryElement,
// or ConversionError when the data cannot be converted (a character the code page cannot hold,
// an array of more dimensions, ...).
ModRegVals::TypedValue PrepareValue(const VARIANT& data, const std::string& code);

// The script notion of "numeric": Empty, Boolean and every number, and text that reads as a
// number ("12", "1e3", "&HFF"). Null, dates, arrays and objects are not.
bool IsNumeric(const VARIANT& value) noexcept;

// Read data as the script receives it: text, a 32-bit integer, an array of 16-bit integers (one
// per byte) or an array of texts. Throws std::bad_alloc.
Variant ReadDataVariant(const ModRegVals::ReadData& data);

}  // namespace kovar3
