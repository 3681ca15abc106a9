// Text at the platform boundary: scripts hand us UTF-16, the "A" entry points take the
// process's ANSI code page. Both directions keep embedded NUL characters.
//
// ANSI text is looked at as characters, never as bytes: in the double-byte code pages (932,
// 936, 949, 950) the second byte of a character may be 0x5C, the byte of "\", or a letter.
// Every search, trim and upper-casing of ANSI text below goes through AnsiCharLength.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kovar3 {

// UTF-16 to ANSI bytes, exactly: a character the code page cannot hold (one without a
// counterpart, or one the platform would replace by a look-alike: U+017A by "z", CJK by "?")
// throws ConversionError(kTextOutsideCodePage). Throws std::bad_alloc.
std::string ToAnsi(const wchar_t* text, size_t length);
inline std::string ToAnsi(const std::wstring& text) { return ToAnsi(text.data(), text.size()); }

// ANSI bytes to UTF-16. Throws std::bad_alloc.
std::wstring FromAnsi(const char* text, size_t length);
inline std::wstring FromAnsi(const std::string& text) { return FromAnsi(text.data(), text.size()); }

// The text of a fixed buffer up to its first NUL character (or all of it when there is none).
std::string CutAtNul(const char* buffer, size_t size);

// Bytes taken by the character of ANSI `text` that starts at byte `at`: 2 for a double-byte
// character (a lead byte with a byte after it), 1 otherwise; 0 at the end of the text.
size_t AnsiCharLength(std::string_view text, size_t at) noexcept;

// Byte position of the first (last) character of `text` that is one of the single-byte
// characters of `set`, or npos. The second byte of a double-byte character never matches.
size_t FindFirstAnsiChar(std::string_view text, std::string_view set) noexcept;
size_t FindLastAnsiChar(std::string_view text, std::string_view set) noexcept;

// True when the last character of `text` is one of the single-byte characters of `set`.
bool EndsWithAnsiChar(std::string_view text, std::string_view set) noexcept;

// ASCII upper-casing, the way hive abbreviations, type codes, extensions and version entry
// names are compared: only a to z change, and in ANSI text only characters of one byte.
constexpr char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
constexpr wchar_t UpperAscii(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
}
std::string UpperAscii(std::string text);

// The value of one hexadecimal digit, either case, or -1; ASCII only, whatever the locale says.
constexpr int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace kovar3
