// Describing an executable file: the texts of its version block, its file times as display
// text, its size in kilobytes, its attribute bits and its name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kovar3::ModFileInfo {

// Values of FileInfoRecord::status.
constexpr short kInfoRead = 0;
constexpr short kNoVersionBlock = 2;

struct FileInfoRecord {
    std::wstring company_name;
    std::wstring file_version;
    // The dates as text. Left unknown by ReadFileInfo, which keeps the two times below, and
    // made with CreatedDateText and DateText when first asked for: most scripts read the
    // version texts only.
    std::optional<std::wstring> date_created = std::wstring();
    std::optional<std::wstring> date_last_modified = std::wstring();
    FILETIME created{};
    FILETIME last_written{};
    std::wstring product_version;
    std::wstring product_name;
    std::wstring file_description;
    std::wstring size;  // kilobytes as decimal text
    // The file's name as stored in its directory. Left unknown by ReadFileInfo, and looked up
    // with StoredName(path) when first asked for: the directory lookup costs more than all the
    // rest of the record together.
    std::optional<std::wstring> name = std::wstring();
    std::string path;  // the full path of the file the record describes
    short attributes = 0;
    short status = 0;
};

// One string entry of a version block (the "key" and "value" of a VALUE line).
struct VersionString {
    std::wstring key;
    std::wstring value;  // up to its first NUL
};

// The string entries of every string table in the block, in block order. `os_family` picks
// the reading: 1 (NT family) reads the block's UTF-16 layout; any other value reads the
// single-byte layout of the 95/98/ME family, whose texts are in the ANSI code page. A block
// of the other layout, or a malformed one, gives no entries; nothing is read outside `size`.
// With `wanted`, only the entries named by one of its keys (letter case ignored) are read.
std::vector<VersionString> ReadVersionStrings(const BYTE* block, size_t size, short os_family,
                                              const std::vector<const char*>* wanted = nullptr);

// The value of the first string entry named `key` (letter case ignored), whatever the table's
// language; "" when there is none. Only entry names match: a value that contains the key's
// text (a description mentioning "FileVersion") is never taken for that key.
std::wstring VersionStringValue(const std::string& key, const std::vector<VersionString>& entries);

// The read-only (1), hidden (2) and system (4) bits of a file's attributes.
short AttributeBits(DWORD attributes) noexcept;

// Kilobytes in a file of `bytes` bytes, the remainder dropped, as decimal text.
std::wstring KilobytesText(std::uint64_t bytes);

// A file time as the user's locale shows a date value: the local date, and the time of day
// unless it is midnight; milliseconds are dropped. "" when the time cannot be converted or
// its year, month or day is 0.
std::wstring DateText(const FILETIME& time);

// DateText of a creation time, blanked when it shows a year 1601 after a "/" (the zero time
// that file systems without creation times report).
std::wstring CreatedDateText(const FILETIME& time);

// Reads the version block of `path` and takes the dates, size and attributes from `details`,
// which the caller read when it found the file; the name is left to StoredName. status is
// kNoVersionBlock, with every other field empty, when the file has no version block or it
// cannot be read; the version texts are read as UTF-16 when `os_family` is 1 (the NT family),
// as single-byte text otherwise. Never throws.
FileInfoRecord ReadFileInfo(const std::string& path, const FileDetails& details,
                            short os_family) noexcept;

// The name of the file at `path` as its directory stores it: its own letter case, the long
// name for a short one. When no file is found there any more, the last component of `path`.
std::wstring StoredName(const std::string& path) noexcept;

}  // namespace kovar3::ModFileInfo
