// Registry key addressing, enumeration and deletion.
//
// A key is named by a hive abbreviation and a path below the hive. The routines here take the
// resolved root key and a trimmed path as ANSI text, open what they need with the access each
// operation asks for, and close every key they open before they return. Statuses are part of
// the interface and come back as values; only the unexpected (a failed allocation) is thrown,
// and the enumeration and deletion routines turn even that into their status 4.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kovar3::ModRegKovar {

// Which abbreviations a method accepts: the basic set is HKCR, HKCU, HKLM and HKU; the
// extended set adds HKCC and HKDD.
enum class HiveSet { kBasic, kExtended };

// The predefined root key for an abbreviation, compared whole (no trimming) and without regard
// to ASCII letter case; nothing when no accepted row matches.
std::optional<HKEY> HiveFromAbbrev(const std::string& abbrev, HiveSet set);

// Removes one "\" from the end, then one "\" from the start; nothing else. Characters, not
// bytes: a double-byte character whose second byte is 0x5C stays whole.
std::string TrimRegPath(std::string path);

// The registry reads the ANSI text it is handed up to the first NUL character; every name and
// path is cut there before it is checked, so the checks see what the registry will see.
std::string RegistryText(const std::string& text);

// Statuses of the list routines.
enum ListStatus : short {
    kListed = 0,
    kNothingListed = 1,  // no subkeys, no named values, no REG_SZ value with data
    kCannotOpen = 2,
    kListError = 4,  // unexpected error
};

struct NameList {
    short status = kListError;
    std::vector<std::string> names;  // empty unless status is kListed
};

// Subkey names of root\path in the registry's enumeration order.
NameList EnumSubkeyNames(HKEY root, const std::string& path) noexcept;

// Named values, each as name + "/S", "/X", "/B", "/D" or "/U" (every other type, REG_MULTI_SZ
// included). The default value is never listed.
NameList EnumValueTypes(HKEY root, const std::string& path) noexcept;

// Named REG_SZ values with at least one character of data that fits the 255-byte buffer, each
// as name + "^" + data.
NameList EnumStringData(HKEY root, const std::string& path) noexcept;

// Deletes one value (the default value when `name` is empty): 0, or 1 when the key cannot be
// opened or the value cannot be deleted.
short DeleteValue(HKEY root, const std::string& path, const std::string& name) noexcept;

// Statuses of DeleteKeyTree.
enum DeleteStatus : short {
    kDeleted = 0,
    kCannotList = 1,    // NT family: the key to delete cannot be opened for listing
    kCannotDelete = 2,  // the parent cannot be opened, or the registry refused the deletion
    kDeleteError = 4,   // unexpected error, or an error while listing subkeys
};

// Deletes root\parent\name with everything below it. On the NT family (`os_family` 1) the
// tree is removed depth first, every key after all keys below it, and the first failure stops
// the walk; on the 95/98/ME family (or when the family is unknown, 0 or -1) the registry is
// asked once to delete the key, which it does with its subtree there. `name` must name a key:
// callers refuse a name that is empty or only backslashes, which the registry would read as the
// parent itself.
short DeleteKeyTree(HKEY root, const std::string& parent, const std::string& name,
                    short os_family) noexcept;

}  // namespace kovar3::ModRegKovar
