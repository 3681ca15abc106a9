// Reads of registry text, shared by every subsystem that looks something up in the
// registry (class registrations, App Paths, typed values, file associations), and the plain
// text write of the subsystems that record a setting in the user's profile.
#pragma once

#include <windows.h>

#include <string>

namespace kovar3 {

// Registry texts are read through 255 bytes: 254 characters and the terminator.
constexpr DWORD kRegTextBuffer = 255;

// The text of root\path, value `name` ("" for the default value), opened with `access` and
// read through kRegTextBuffer bytes, kept exactly as stored (no expansion, quotation marks
// left); "" when the key or value is missing, the text is empty, it is 255 bytes or longer,
// or it cannot be read.
std::string ReadRegText(HKEY root, const std::string& path, const std::string& name,
                        REGSAM access = KEY_QUERY_VALUE) noexcept;

// The default value (name "") or a named value of an open key, read at whatever length it is
// stored, for values that outgrow the 255-byte reads in everyday use (command lines under long
// folder names). True when the read succeeds and the value holds at least one byte besides its
// terminator; `text` then holds the stored bytes without the last one (the terminator), `type`
// the value's type. A value that fits in 255 bytes is read in one call; a longer one is read
// again with the room the registry asks for. False, with `text` and `type` untouched,
// otherwise. Throws std::bad_alloc.
bool ReadRegTextWhole(HKEY key, const std::string& name, std::string& text, DWORD& type);

// Stores `text` as REG_SZ under `name` in an open key, terminator included; the result is not
// examined (callers that need to know open the key for setting values first).
void WriteRegText(HKEY key, const char* name, const std::string& text) noexcept;

}  // namespace kovar3
