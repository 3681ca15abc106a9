// INI file routines: one per operation for a named file (the private-profile calls, which get
// the path unchanged) and one for WIN.INI (the profile calls, which ignore any directory).
//
// Read routines give back the characters the platform copied, or the not-found marker when it
// copied none. Lists keep the platform's layout: every entry followed by one NUL character.
// Write routines give true when the platform reported success. No routine throws.
#pragma once

#include <string>

namespace kovar3::ModIniEdit {

// Buffer sizes in characters, terminators included: a value comes back cut to 254 characters,
// a list of key or section names to at most 1022, the lines of a section to at most 4094.
constexpr unsigned kValueBufferSize = 255;
constexpr unsigned kNameListBufferSize = 1024;
constexpr unsigned kSectionBufferSize = 4096;

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
