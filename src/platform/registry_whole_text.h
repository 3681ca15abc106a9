// Registry text read at whatever length it is stored, for values that outgrow the 255-byte
// reads of registry_text.h in everyday use (command lines under long folder names).
#pragma once

#include <windows.h>

#include <string>

namespace kovar3 {

// The default value (name "") or a named value of an open key. True when the read succeeds
// and the value holds at least one byte besides its terminator; `text` then holds the stored
// bytes without the last one (the terminator), `type` the value's type. A value that fits in
// 255 bytes is read in one call; a longer one is read again with the room the registry asks
// for. False, with `text` and `type` untouched, otherwise. Throws std::bad_alloc.
bool ReadRegTextWhole(HKEY key, const std::string& name, std::string& text, DWORD& type);

}  // namespace kovar3
