// Typed registry values: reading one value with its type code, writing one value of a chosen
// type.
//
// Type codes: "S" REG_SZ (and what RegReadTyped gives for an expanded REG_EXPAND_SZ), "X"
// REG_EXPAND_SZ stored unexpanded, "M" REG_MULTI_SZ, "D" REG_DWORD, "B" REG_BINARY from
// numbers 0 to 255, "BH" REG_BINARY from two-digit hexadecimal texts.
#pragma once

#include <windows.h>

#include <string>
#include <variant>
#include <vector>

namespace kovar3::ModRegVals {

// Statuses of RegReadTyped.
enum ReadStatus : long {
    kRead = 0,
    kNoData = 1,  // size below the type's minimum, empty expansion, unreadable default
    kCannotOpenKey = 2,
    kCannotRead = 3,   // for text: longer than the 255-byte buffer
    kNoSuchValue = 5,  // missing, or a type other than REG_SZ/EXPAND_SZ/BINARY/DWORD/MULTI_SZ
    kReadError = 6,    // an unexpected error (memory)
};

// What a read found, for the caller to hand on: text ("S", and "" on every failure), the
// number of a REG_DWORD ("D"), the bytes of a REG_BINARY ("B"), or the pieces of a
// REG_MULTI_SZ ("M").
using Bytes = std::vector<unsigned char>;
using Pieces = std::vector<std::string>;
using ReadData = std::variant<std::string, long, Bytes, Pieces>;

struct ReadOutcome {
    long status = kReadError;
    ReadData data;
    std::string type;  // "S", "M", "D", "B" or ""
};

// Reads root\path, value `name` (the default value when empty). Data and type are set on every
// path. Text values are read through a 255-byte buffer, so 254 characters is the most a REG_SZ
// can hold here; an expansion is read with whatever room it needs.
ReadOutcome RegReadTyped(HKEY root, const std::string& path, const std::string& name) noexcept;

// Statuses of writing a value. The caller turns the script's data into a TypedValue first and
// gives kBadBinaryElement or kWriteError itself when that fails (the checks made before that
// use 4 to 9).
enum WriteStatus : short {
    kWritten = 0,
    kCannotCreateKey = 1,
    kCannotWrite = 2,
    kBadBinaryElement = 3,
    kWriteError = 10,
};

// A value ready for the registry: its type (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD or
// REG_BINARY) and the bytes RegSetValueExA receives, terminators included.
struct TypedValue {
    DWORD kind = REG_NONE;
    std::string bytes;
};

// Creates root\path with every missing key and writes the value `name`. A binary value without
// a byte is kWriteError (the key has been created by then).
short RegWriteTyped(HKEY root, const std::string& path, const std::string& name,
                    const TypedValue& value) noexcept;

}  // namespace kovar3::ModRegVals
