#include "pefile/ModFileInfo.h"

#include <oleauto.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "platform/unique.h"
#include "platform/variant.h"

namespace kovar3::ModFileInfo {
namespace {

// The two layouts of a version block. Every entry starts on a 4-byte boundary with its total
// length and its value's length (16-bit words); the UTF-16 layout adds a 16-bit type. Then
// comes the NUL-terminated key, padding to 4 bytes, the value, padding, the child entries.
struct Layout {
    size_t header;     // bytes before the key
    size_t char_size;  // bytes per character of key and text values
};
constexpr Layout kWide{6, 2};    // NT family
constexpr Layout kNarrow{4, 1};  // 95/98/ME family

struct Entry {
    size_t end;  // one past the entry's last byte (within its parent)
    size_t key_begin;
    size_t key_end;  // the key's terminator
    size_t value_begin;
    size_t children_begin;
};

size_t Align4(size_t offset) { return (offset + 3) & ~size_t{3}; }

unsigned Word(const BYTE* block, size_t at) { return block[at] | (block[at + 1] << 8); }

// The text of [begin, end) up to its first NUL, by the layout's reading.
std::wstring TextAt(const BYTE* block, size_t begin, size_t end, const Layout& layout)
{
    if (layout.char_size == 1) {
        size_t stop = begin;
        while (stop < end && block[stop] != 0) ++stop;
        return FromAnsi(reinterpret_cast<const char*>(block + begin), stop - begin);
    }
    size_t stop = begin;
    while (stop + 2 <= end && Word(block, stop) != 0) stop += 2;
    std::wstring text((stop - begin) / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(Word(block, begin + 2 * i));
    return text;
}

// Reads the entry at `at`; false when it does not fit in [at, limit) or its key has no
// terminator there.
bool ReadEntry(const BYTE* block, size_t at, size_t limit, const Layout& layout, Entry& entry)
{
    if (at + layout.header > limit) return false;
    const size_t length = Word(block, at);
    if (length < layout.header) return false;
    entry.end = at + length < limit ? at + length : limit;

    size_t key_end = at + layout.header;
    for (;; key_end += layout.char_size) {
        if (key_end + layout.char_size > entry.end) return false;
        if (block[key_end] == 0 && (layout.char_size == 1 || block[key_end + 1] == 0)) break;
    }
    entry.key_begin = at + layout.header;
    entry.key_end = key_end;
    entry.value_begin = Align4(key_end + layout.char_size);

    const size_t value_length = Word(block, at + 2);
    const bool text_value = layout.char_size == 2 && Word(block, at + 4) == 1;
    entry.children_begin = Align4(entry.value_begin + value_length * (text_value ? 2 : 1));
    return true;
}

// Calls `visit` for each child entry of `parent`, in order.
template <typename Visit>
void ForEachChild(const BYTE* block, const Entry& parent, const Layout& layout, Visit visit)
{
    Entry child;
    for (size_t at = parent.children_begin; ReadEntry(block, at, parent.end, layout, child);
         at = Align4(child.end)) {
        visit(child);
        if (child.end <= at) break;
    }
}

// Most version blocks take a few kilobytes: a first read into this many bytes spares the size
// query, which costs as much as the read itself.
constexpr DWORD kFirstVersionBuffer = 8192;

// The version block of `path`; empty when the file has none or it cannot be read. A block is
// whole when the length in its first word fits the bytes read; otherwise it is read again into
// the size the platform asks for.
std::vector<BYTE> ReadVersionBlock(const std::string& path)
{
    std::vector<BYTE> block(kFirstVersionBuffer, 0);
    if (!::GetFileVersionInfoA(path.c_str(), 0, kFirstVersionBuffer, block.data())) return {};
    if (Word(block.data(), 0) <= kFirstVersionBuffer) return block;
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &unused);
    if (size == 0) return {};
    block.assign(size, 0);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return {};
    return block;
}

// True when the entry's key is `name`, letter case ignored; compared where it lies, since
// most keys are only compared. A byte of a double-byte character never equals an ASCII letter
// of `name` at the same place.
bool KeyIs(const BYTE* block, const Entry& entry, const Layout& layout, const char* name)
{
    size_t at = entry.key_begin;
    for (; *name; ++name, at += layout.char_size) {
        if (at >= entry.key_end) return false;
        const unsigned c = layout.char_size == 2 ? Word(block, at) : block[at];
        if (c > 0x7F || UpperAscii(static_cast<char>(c)) != UpperAscii(*name)) return false;
    }
    return at == entry.key_end;
}

bool SameKey(const std::wstring& name, const std::string& key)
{
    if (name.size() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        if (UpperAscii(name[i]) != static_cast<unsigned char>(UpperAscii(key[i]))) return false;
    }
    return true;
}

// The version texts of a record, by key, in the order they are filled.
const std::pair<const char*, std::wstring FileInfoRecord::*> kVersionFields[] = {
    {"CompanyName", &FileInfoRecord::company_name},
    {"FileVersion", &FileInfoRecord::file_version},
    {"ProductVersion", &FileInfoRecord::product_version},
    {"FileDescription", &FileInfoRecord::file_description},
    {"ProductName", &FileInfoRecord::product_name},
};

}  // namespace

std::vector<VersionString> ReadVersionStrings(const BYTE* block, size_t size, short os_family,
                                              const std::vector<const char*>* wanted)
{
    const Layout& layout = os_family == 1 ? kWide : kNarrow;
    std::vector<VersionString> strings;
    strings.reserve(16);  // a usual block's string entries, read without moving them
    Entry root;
    if (!block || !ReadEntry(block, 0, size, layout, root)) return strings;
    ForEachChild(block, root, layout, [&](const Entry& info) {
        if (!KeyIs(block, info, layout, "StringFileInfo")) return;
        ForEachChild(block, info, layout, [&](const Entry& table) {
            ForEachChild(block, table, layout, [&](const Entry& string) {
                if (wanted && std::none_of(wanted->begin(), wanted->end(), [&](const char* key) {
                        return KeyIs(block, string, layout, key);
                    }))
                    return;
                strings.push_back({TextAt(block, string.key_begin, string.key_end, layout),
                                   TextAt(block, string.value_begin, string.end, layout)});
            });
        });
    });
    return strings;
}

std::wstring VersionStringValue(const std::string& key, const std::vector<VersionString>& entries)
{
    for (const VersionString& entry : entries)
        if (SameKey(entry.key, key)) return entry.value;
    return std::wstring();
}

short AttributeBits(DWORD attributes) noexcept
{
    short bits = 0;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) bits += 2;
    if (attributes & FILE_ATTRIBUTE_READONLY) bits += 1;
    if (attributes & FILE_ATTRIBUTE_SYSTEM) bits += 4;
    return bits;
}

std::wstring KilobytesText(std::uint64_t bytes) { return std::to_wstring(bytes / 1024); }

std::wstring DateText(const FILETIME& time)
{
    FILETIME local{};
    SYSTEMTIME parts{};
    if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToSystemTime(&local, &parts))
        return std::wstring();
    if (parts.wYear == 0 || parts.wMonth == 0 || parts.wDay == 0) return std::wstring();
    parts.wMilliseconds = 0;
    DATE date = 0;
    if (!::SystemTimeToVariantTime(&parts, &date)) return std::wstring();
    Bstr text;
    if (FAILED(::VarBstrFromDate(date, LOCALE_USER_DEFAULT, 0, text.put()))) return std::wstring();
    return text.text();
}

std::wstring CreatedDateText(const FILETIME& time)
{
    std::wstring text = DateText(time);
    if (text.find(L"/1601") != std::wstring::npos) text.clear();
    return text;
}

FileInfoRecord ReadFileInfo(const std::string& path, const FileDetails& details,
                            short os_family) noexcept
{
    FileInfoRecord record;
    record.status = kNoVersionBlock;
    try {
        const std::vector<BYTE> block = ReadVersionBlock(path);
        if (block.empty()) return record;
        static const std::vector<const char*> keys = [] {
            std::vector<const char*> names;
            for (const auto& [key, field] : kVersionFields) names.push_back(key);
            return names;
        }();
        const std::vector<VersionString> strings =
            ReadVersionStrings(block.data(), block.size(), os_family, &keys);
        for (const auto& [key, field] : kVersionFields)
            record.*field = VersionStringValue(key, strings);
    } catch (...) {
        FileInfoRecord unread;
        unread.status = kNoVersionBlock;
        return unread;
    }

    try {
        // Kept whole, so a change of the current folder before Name is read changes nothing.
        try {
            record.path = FileSystem().GetAbsolutePathName(path);
        } catch (const FileSystemError&) {
            record.path = path;
        }
        if (details.attributes & ~DWORD{FILE_ATTRIBUTE_DIRECTORY}) {
            record.created = details.created;
            record.last_written = details.last_written;
            record.date_created.reset();
            record.date_last_modified.reset();
            record.size = KilobytesText(details.size);
            record.attributes = AttributeBits(details.attributes);
            record.name.reset();
        }
    } catch (...) {
        // The directory facts are optional: whatever was read stays.
    }
    record.status = kInfoRead;
    return record;
}

std::wstring StoredName(const std::string& path) noexcept
{
    try {
        // A pattern would find some other file.
        if (path.find_first_of("*?") == std::string::npos) {
            WIN32_FIND_DATAA found{};
            const FindHandle find(::FindFirstFileA(path.c_str(), &found));
            if (find) return FromAnsi(CutAtNul(found.cFileName, sizeof found.cFileName));
        }
        // Gone since it was described: its name as the path gives it.
        return FromAnsi(LastPathComponent(path));
    } catch (...) {
        return std::wstring();
    }
}

}  // namespace kovar3::ModFileInfo
