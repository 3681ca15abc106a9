#include "pefile/ModFileInfo.h"

#include <oleauto.h>

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
    std::wstring key;
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
    std::wstring text;
    for (size_t at = begin; at + 2 <= end; at += 2) {
        const wchar_t c = static_cast<wchar_t>(Word(block, at));
        if (c == 0) break;
        text += c;
    }
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
    entry.key = TextAt(block, at + layout.header, key_end, layout);
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

bool SameKey(const std::wstring& name, const std::string& key)
{
    if (name.size() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        if (UpperAscii(name[i]) != static_cast<unsigned char>(UpperAscii(key[i]))) return false;
    }
    return true;
}

}  // namespace

std::vector<VersionString> ReadVersionStrings(const BYTE* block, size_t size, short os_family)
{
    const Layout& layout = os_family == 1 ? kWide : kNarrow;
    std::vector<VersionString> strings;
    Entry root;
    if (!block || !ReadEntry(block, 0, size, layout, root)) return strings;
    ForEachChild(block, root, layout, [&](const Entry& info) {
        if (!SameKey(info.key, "StringFileInfo")) return;
        ForEachChild(block, info, layout, [&](const Entry& table) {
            ForEachChild(block, table, layout, [&](const Entry& string) {
                strings.push_back(
                    {string.key, TextAt(block, string.value_begin, string.end, layout)});
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

FileInfoRecord ReadFileInfo(const std::string& path, short os_family) noexcept
{
    FileInfoRecord record;
    record.status = kNoVersionBlock;
    try {
        DWORD unused = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &unused);
        if (size == 0) return record;
        std::vector<BYTE> block(size, 0);
        if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return record;
        const std::vector<VersionString> strings =
            ReadVersionStrings(block.data(), block.size(), os_family);
        record.company_name = VersionStringValue("CompanyName", strings);
        record.file_version = VersionStringValue("FileVersion", strings);
        record.product_version = VersionStringValue("ProductVersion", strings);
        record.file_description = VersionStringValue("FileDescription", strings);
        record.product_name = VersionStringValue("ProductName", strings);
    } catch (...) {
        FileInfoRecord unread;
        unread.status = kNoVersionBlock;
        return unread;
    }

    try {
        WIN32_FIND_DATAA found{};
        FindHandle find(::FindFirstFileA(path.c_str(), &found));
        if (find && (found.dwFileAttributes & ~DWORD{FILE_ATTRIBUTE_DIRECTORY})) {
            record.date_created = CreatedDateText(found.ftCreationTime);
            record.date_last_modified = DateText(found.ftLastWriteTime);
            record.size =
                KilobytesText((std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow);
            record.attributes = AttributeBits(found.dwFileAttributes);
            record.name = FromAnsi(CutAtNul(found.cFileName, sizeof found.cFileName));
        }
    } catch (...) {
        // The directory entry is optional: whatever was read stays.
    }
    record.status = kInfoRead;
    return record;
}

}  // namespace kovar3::ModFileInfo
