// Reading a member's parameters and writing its outputs.
//
// Every parameter arrives as a VARIANT* (VBScript passes VT_BYREF|VT_VARIANT). A reader
// follows the reference, converts once by the standard variant conversion and throws
// ConversionError when that is impossible (Null, an array, an object without a value,
// non-numeric text or an out-of-range number for an integer). Text leaves here as ANSI bytes,
// converted exactly: text holding a character the ANSI code page cannot hold throws
// ConversionError(kTextOutsideCodePage), so the member ends in its failure answer before it
// touches anything (see ToAnsi).
#pragma once

#include <windows.h>

#include <string>

#include "platform/errors.h"
#include "platform/variant.h"

namespace kovar3 {

// The variant a parameter finally refers to, with every VT_BYREF|VT_VARIANT level followed.
// A null pointer reads as Empty.
const VARIANT& Dereference(const VARIANT* param) noexcept;

// A copy of the parameter's value with references resolved (VariantCopyInd).
Variant ReadParamValue(const VARIANT* param);

std::string ReadParamText(const VARIANT* param);  // Empty gives ""; numbers their decimal text
short ReadParamI2(const VARIANT* param);          // Empty gives 0; fractions round half to even
long ReadParamI4(const VARIANT* param);
bool ReadParamBool(const VARIANT* param);  // Empty gives False

// Converts a value (not a parameter) to another variant type; throws ConversionError.
Variant ConvertValue(const VARIANT& value, VARTYPE type);

// A value (not a parameter: an array element, say) as ANSI text, as ReadParamText reads it.
std::string ValueText(const VARIANT& value);

// Replaces the caller's variant with `value`, releasing what it held. A typed reference
// (VT_BYREF|VT_BSTR from a typed VBA variable, say) receives the value converted to its
// type; a conversion failure throws ConversionError. A null pointer is ignored.
void WriteOutput(VARIANT* param, Variant value);

// WriteOutput for failure paths: never throws; an output that cannot take the value keeps
// what it had.
void WriteOutputNoThrow(VARIANT* param, Variant value) noexcept;

}  // namespace kovar3
