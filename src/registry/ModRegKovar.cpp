#include "registry/ModRegKovar.h"

#include <cstring>
#include <iterator>

#include "platform/registry_text.h"
#include "platform/text.h"
#include "platform/unique.h"

namespace kovar3::ModRegKovar {
namespace {

struct HiveRow {
    const char* abbrev;
    HKEY root;
};

// In the order they are tested; the first four form the basic set.
const HiveRow kHives[] = {
    {"HKCR", HKEY_CLASSES_ROOT}, {"HKCU", HKEY_CURRENT_USER},   {"HKLM", HKEY_LOCAL_MACHINE},
    {"HKU", HKEY_USERS},         {"HKCC", HKEY_CURRENT_CONFIG}, {"HKDD", HKEY_DYN_DATA},
};
constexpr size_t kBasicRows = 4;

// Subkey names are at most 255 characters; the buffer leaves room for any code page.
constexpr DWORD kSubkeyNameBuffer = 1024;

const char* TypeMarker(DWORD type)
{
    switch (type) {
    case REG_SZ: return "/S";
    case REG_EXPAND_SZ: return "/X";
    case REG_BINARY: return "/B";
    case REG_DWORD: return "/D";
    default: return "/U";
    }
}

NameList Listed(std::vector<std::string> items)
{
    if (items.empty()) return {kNothingListed, {}};
    return {kListed, std::move(items)};
}

// Opens root\path for the value listings and reads the longest value name's length. Gives
// kCannotOpen, kNothingListed (the key information cannot be read) or kListed.
short OpenForValues(HKEY root, const std::string& path, RegKey& key, DWORD& longest_name)
{
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return kCannotOpen;
    longest_name = 0;
    if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longest_name, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return kNothingListed;
    return kListed;
}

// Whether the enumeration of values goes on after `result`. A value whose name or data does
// not fit is passed over; the end of the list, and any other failure (the key deleted under
// us, say), ends it, so a key that vanishes mid-listing cannot keep the loop going forever.
bool NextValueFollows(LONG result) { return result == ERROR_SUCCESS || result == ERROR_MORE_DATA; }

// Opens the parent with full access and asks the registry to delete `name` below it.
short DeleteOneKey(HKEY root, const std::string& parent, const std::string& name)
{
    RegKey parent_key;
    if (::RegOpenKeyExA(root, parent.c_str(), 0, KEY_ALL_ACCESS, parent_key.put()) != ERROR_SUCCESS)
        return kCannotDelete;
    return ::RegDeleteKeyA(parent_key.get(), name.c_str()) == ERROR_SUCCESS ? kDeleted
                                                                            : kCannotDelete;
}

}  // namespace

std::optional<HKEY> HiveFromAbbrev(const std::string& abbrev, HiveSet set)
{
    const std::string upper = UpperAscii(abbrev);
    const size_t rows = set == HiveSet::kBasic ? kBasicRows : std::size(kHives);
    for (size_t i = 0; i < rows; ++i) {
        if (upper == kHives[i].abbrev) return kHives[i].root;
    }
    return std::nullopt;
}

std::string TrimRegPath(std::string path)
{
    // The last character, not the last byte: in a double-byte code page the second byte of a
    // character may be 0x5C.
    if (EndsWithAnsiChar(path, "\\")) path.pop_back();
    if (!path.empty() && path.front() == '\\') path.erase(0, 1);
    return path;
}

std::string RegistryText(const std::string& text) { return CutAtNul(text.data(), text.size()); }

NameList EnumSubkeyNames(HKEY root, const std::string& path) noexcept
{
    NameList out;
    try {
        RegKey key;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
            out.status = kCannotOpen;
            return out;
        }
        char name[kSubkeyNameBuffer];
        for (DWORD index = 0;; ++index) {
            DWORD length = kSubkeyNameBuffer;
            FILETIME written;
            if (::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr,
                                &written) != ERROR_SUCCESS)
                break;
            out.names.emplace_back(name, length);
        }
        out.status = out.names.empty() ? kNothingListed : kListed;
    } catch (...) {
        out.names.clear();
        out.status = kListError;
    }
    return out;
}

// One pass: the enumeration hands back each value's type with its name, which gives the same
// list, in the same order, as asking for each name's type afterwards.
NameList EnumValueTypes(HKEY root, const std::string& path) noexcept
{
    try {
        RegKey key;
        DWORD longest = 0;
        const short opened = OpenForValues(root, path, key, longest);
        if (opened != kListed) return {opened, {}};
        std::vector<char> name(static_cast<size_t>(longest) + 1);
        std::vector<std::string> items;
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(name.size());
            DWORD type = REG_NONE;
            const LONG result = ::RegEnumValueA(key.get(), index, name.data(), &length, nullptr,
                                                &type, nullptr, nullptr);
            if (!NextValueFollows(result)) break;
            // A length of 0 is the default value, which is never listed.
            if (result == ERROR_SUCCESS && length > 0)
                items.push_back(std::string(name.data(), length) + TypeMarker(type));
        }
        return Listed(std::move(items));
    } catch (...) {
        return {kListError, {}};
    }
}

// One pass, as above: the data comes with the name. A value whose data does not fit the
// buffer reports ERROR_MORE_DATA and is passed over, as it would be when read on its own.
NameList EnumStringData(HKEY root, const std::string& path) noexcept
{
    try {
        RegKey key;
        DWORD longest = 0;
        const short opened = OpenForValues(root, path, key, longest);
        if (opened != kListed) return {opened, {}};
        std::vector<char> name(static_cast<size_t>(longest) + 1);
        char data[kRegTextBuffer];
        std::vector<std::string> items;
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(name.size());
            DWORD type = REG_NONE;
            DWORD size = kRegTextBuffer;
            std::memset(data, 0, sizeof data);
            const LONG result = ::RegEnumValueA(key.get(), index, name.data(), &length, nullptr,
                                                &type, reinterpret_cast<BYTE*>(data), &size);
            if (!NextValueFollows(result)) break;
            if (result == ERROR_SUCCESS && length > 0 && type == REG_SZ && size >= 2) {
                std::string item(name.data(), length);
                item += '^';
                item.append(data, size - 1);
                items.push_back(std::move(item));
            }
        }
        return Listed(std::move(items));
    } catch (...) {
        return {kListError, {}};
    }
}

short DeleteValue(HKEY root, const std::string& path, const std::string& name) noexcept
{
    RegKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return 1;
    return ::RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS ? 0 : 1;
}

short DeleteKeyTree(HKEY root, const std::string& parent, const std::string& name,
                    short os_family) noexcept
{
    try {
        if (os_family < 1) return DeleteOneKey(root, parent, name);

        // A key straight below the root has no parent path: "\name" is not a path the
        // registry accepts (ERROR_BAD_PATHNAME), so the name alone addresses it.
        const std::string full = parent.empty() ? name : parent + "\\" + name;
        const NameList subkeys = EnumSubkeyNames(root, full);
        switch (subkeys.status) {
        case kListError: return kDeleteError;
        case kCannotOpen: return kCannotList;
        case kNothingListed: return DeleteOneKey(root, parent, name);
        default: break;
        }
        // The subkeys come from one listing made before any of them is deleted.
        for (const std::string& subkey : subkeys.names) {
            const short status = DeleteKeyTree(root, full, subkey, os_family);
            if (status != kDeleted) return status;
        }
        // Listed again: found empty, the key itself goes.
        return DeleteKeyTree(root, parent, name, os_family);
    } catch (...) {
        return kDeleteError;
    }
}

}  // namespace kovar3::ModRegKovar
