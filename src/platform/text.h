// Text at the platform boundary: scripts hand us UTF-16, the "A" entry points take the
// process's ANSI code page. Both directions keep embedded NUL characters.
#pragma once

#include <windows.h>

#include <string>

namespace kovar3 {

// UTF-16 to ANSI bytes; characters the code page lacks become the platform's default
// character, as the "A" entry points themselves would do. Throws std::bad_alloc.
std::string ToAnsi(const wchar_t* text, size_t length);
inline std::string ToAnsi(const std::wstring& text) { return ToAnsi(text.data(), text.size()); }

// ANSI bytes to UTF-16. Throws std::bad_alloc.
std::wstring FromAnsi(const char* text, size_t length);
inline std::wstring FromAnsi(const std::string& text) { return FromAnsi(text.data(), text.size()); }

// The text of a fixed buffer up to its first NUL character (or all of it when there is none).
std::string CutAtNul(const char* buffer, size_t size);

// ASCII upper-casing, the way hive abbreviations, type codes, extensions and version entry
// names are compared: only a to z change.
constexpr char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
constexpr wchar_t UpperAscii(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
}
std::string UpperAscii(std::string text);

}  // namespace kovar3
