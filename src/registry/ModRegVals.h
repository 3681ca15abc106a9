// Typed registry values: reading one value with its type code, writing one value of a chosen
// type.
//
// Type codes: "S" REG_SZ (and what RegReadTyped gives for an expanded REG_EXPAND_SZ), "X"
// REG_EXPAND_SZ stored unexpanded, "M" REG_MULTI_SZ, "D" REG_DWORD, "B" REG_BINARY from
// numbers 0 to 255, "BH" REG_BINARY from two-digit hexadecimal texts.
#pragma once

#include <windows.h>

#include <string>

#include "platform/variant.h"

namespace kovar3::ModRegVals {

// Statuses of RegReadTyped.
enum ReadStatus : long {
    kRead = 0,
    kNoData = 1,  // size below the type's minimum, empty expansion, unreadable default
    kCannotOpenKey = 2,
    kCannotRead = 3,   // for text: longer than the 255-byte buffer
    kNoSuchValue = 5,  // missing, or a type other than REG_SZ/EXPAND_SZ/BINARY/DWORD/MULTI_SZ
    kReadError = 6,    // the byte array could not be built
};

struct ReadOutcome {
    long status = kReadError;
    Variant data;      // text, a 32-bit integer, or an array; "" on every failure
    std::string type;  // "S", "M", "D", "B" or ""
};

// Reads root\path, value `name` (the default value when empty). Data and type are set on every
// path. Text values are read through a 255-byte buffer, so 254 characters is the most a REG_SZ
// can hold here; an expansion is read with whatever room it needs.
ReadOutcome RegReadTyped(HKEY root, const std::string& path, const std::string& name) noexcept;

// Statuses of RegWriteTyped (the checks made before it is called use 4 to 9).
enum WriteStatus : short {
    kWritten = 0,
    kCannotCreateKey = 1,
    kCannotWrite = 2,
    kBadBinaryElement = 3,
    kWriteError = 10,
};

// Converts and checks `data` for the upper-cased type code `code` ("S", "X", "M", "D", "B" or
// "BH") before the registry is touched, then creates root\path with every missing key and
// writes the value. Any conversion that fails gives kWriteError.
short RegWriteTyped(HKEY root, const std::string& path, const std::string& name,
                    const VARIANT& data, const std::string& code) noexcept;

// The script notion of "numeric": Empty, Boolean and every number, and text that reads as a
// number ("12", "1e3", "&HFF"). Null, dates, arrays and objects are not.
bool IsNumeric(const VARIANT& value) noexcept;

}  // namespace kovar3::ModRegVals
