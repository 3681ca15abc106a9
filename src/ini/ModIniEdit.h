// INI file routines: one per operation for a named file (the private-profile calls, which get
// the path unchanged) and one for WIN.INI (the profile calls, which ignore any directory).
//
// Read routines give back the whole value or list the platform holds, or the not-found marker
// when it copied nothing. Lists keep the platform's layout: every entry followed by one NUL
// character. Write routines give true when the platform reported success, and refuse (false,
// nothing written) any text that would add a line to the file. No routine throws.
#pragma once

#include <string>

namespace kovar3::ModIniEdit {

// First buffer sizes in characters, terminators included. When the platform's count shows
// that its answer did not fit (a value cut to size - 1 characters, a list to size - 2), the
// read is made again with a buffer twice as large, until it fits.
constexpr unsigned kValueBufferSize = 255;
constexpr unsigned kNameListBufferSize = 1024;
constexpr unsigned kSectionBufferSize = 4096;
// No buffer grows past this many characters; a longer answer reads as not found.
constexpr unsigned kLargestBufferSize = 1u << 28;

// Three NUL characters: the default handed to the read calls (empty as a C string) and what a
// read routine gives when nothing was found.
const std::string& NotFoundMarker();

// True when the path's last component (drive and folders removed) is WIN.INI in any case. The
// path is split by characters: U+8868 followed by "win.ini" (0x95 0x5C "win.ini" in code page
// 932) is not WIN.INI.
bool IsWinIni(const std::string& path);

// The file the private-profile calls will open for `path`: the path itself, or, for a bare
// name without a drive or a folder, that name in the Windows folder.
std::string ProfileTarget(const std::string& path);

std::string GetValue(const std::string& path, const std::string& section,
                     const std::string& key) noexcept;
std::string GetWinIniValue(const std::string& section, const std::string& key) noexcept;

std::string GetKeyNames(const std::string& path, const std::string& section) noexcept;
std::string GetWinIniKeyNames(const std::string& section) noexcept;

std::string GetSectionNames(const std::string& path) noexcept;
std::string GetWinIniSectionNames() noexcept;

std::string GetSectionLines(const std::string& path, const std::string& section) noexcept;
std::string GetWinIniSectionLines(const std::string& section) noexcept;

// Nothing is written, and the outcome is false, when a text would add a line to the file or
// could not be read back: a section, key or value holding a carriage return or a line feed,
// a key holding "=", a key or a key-list entry whose first non-blank character is "[" (it
// would read back as a section header), a key list holding a line break. A value may hold "=".

// A section, key or value longer than 32766 characters is never handed to the platform: a read
// gives the not-found marker, a write false.

// A key "null" (any case) deletes the whole section; a value "null" deletes the key.
bool WriteValue(const std::string& path, const std::string& section, const std::string& key,
                const std::string& value) noexcept;
// WIN.INI knows no "null" convention: the text is written as it is.
bool WriteWinIniValue(const std::string& section, const std::string& key,
                      const std::string& value) noexcept;

// `key_list` holds "key=value" entries, each followed by one NUL (the last one may be left
// out). The section's keys are replaced by the listed ones; a missing section is created.
bool WriteSection(const std::string& path, const std::string& section,
                  const std::string& key_list) noexcept;
bool WriteWinIniSection(const std::string& section, const std::string& key_list) noexcept;

}  // namespace kovar3::ModIniEdit
