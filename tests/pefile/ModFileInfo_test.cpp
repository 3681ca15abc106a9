#include "pefile/ModFileInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kovar3::ModFileInfo {
namespace {

using Table = std::vector<std::pair<std::string, std::string>>;

// Writes version blocks in the UTF-16 layout (wide) or the single-byte layout, the way
// resource compilers lay them out: entries on 4-byte boundaries, lengths patched on close.
class BlockWriter {
public:
    explicit BlockWriter(bool wide) : wide_(wide) {}

    std::vector<BYTE> Build(const std::vector<Table>& tables)
    {
        const size_t root = Open("VS_VERSION_INFO", 52, false);
        for (int i = 0; i < 52; ++i) bytes_.push_back(static_cast<BYTE>(i == 0 ? 0xBD : 0x04));
        const size_t info = Open("StringFileInfo", 0, true);
        for (const Table& table : tables) {
            const size_t t = Open("040904B0", 0, true);
            for (const auto& [key, value] : table) {
                const size_t s = Open(key, static_cast<unsigned>(value.size() + 1), true);
                PutText(value);
                Close(s);
            }
            Close(t);
        }
        Close(info);
        const size_t var = Open("VarFileInfo", 0, true);
        const size_t translation = Open("Translation", 4, false);
        for (BYTE b : {0x09, 0x04, 0xB0, 0x04}) bytes_.push_back(b);
        Close(translation);
        Close(var);
        Close(root);
        return bytes_;
    }

private:
    void Align()
    {
        while (bytes_.size() % 4) bytes_.push_back(0);
    }
    void Put16(unsigned v)
    {
        bytes_.push_back(static_cast<BYTE>(v & 0xFF));
        bytes_.push_back(static_cast<BYTE>(v >> 8));
    }
    void PutText(const std::string& text)
    {
        for (char c : text) {
            bytes_.push_back(static_cast<BYTE>(c));
            if (wide_) bytes_.push_back(0);
        }
        bytes_.push_back(0);
        if (wide_) bytes_.push_back(0);
    }
    size_t Open(const std::string& key, unsigned value_length, bool text)
    {
        Align();
        const size_t at = bytes_.size();
        Put16(0);
        Put16(value_length);
        if (wide_) Put16(text ? 1 : 0);
        PutText(key);
        Align();
        return at;
    }
    void Close(size_t at)
    {
        const size_t length = bytes_.size() - at;
        bytes_[at] = static_cast<BYTE>(length & 0xFF);
        bytes_[at + 1] = static_cast<BYTE>(length >> 8);
    }

    bool wide_;
    std::vector<BYTE> bytes_;
};

const std::vector<Table> kTables = {
    {{"Comments", ""},
     {"CompanyName", "Acme"},
     {"FileDescription", "Reports the FileVersion of a file"},
     {"FileVersionX", "a longer name that starts with the key"},
     {"FileVersion", "1.0.0.7"},
     {"ProductName", ""},
     {"OriginalProductVersion", "wrong"}},
    {{"CompanyName", "Second table"}, {"ProductVersion", "2.0"}},
};

struct LookupCase {
    const char* key;
    const wchar_t* value;
};
const LookupCase kLookups[] = {
    {"CompanyName", L"Acme"},     // the first table wins over the second
    {"companyname", L"Acme"},     // letter case does not matter
    {"FileVersion", L"1.0.0.7"},  // not the description that names it, not FileVersionX
    {"FileDescription", L"Reports the FileVersion of a file"},
    {"ProductName", L""},        // empty value
    {"ProductVersion", L"2.0"},  // only the second table has it; not a longer key's
    {"LegalCopyright", L""},     // missing
};

TEST(VersionStringValue, MatchesEntryNamesInBothLayouts)
{
    for (const short family : {1, 0}) {
        const std::vector<BYTE> block = BlockWriter(family == 1).Build(kTables);
        const auto strings = ReadVersionStrings(block.data(), block.size(), family);
        EXPECT_EQ(strings.size(), 9u);
        for (const LookupCase& c : kLookups) {
            SCOPED_TRACE(::testing::Message() << "family " << family << " " << c.key);
            EXPECT_EQ(VersionStringValue(c.key, strings), c.value);
        }
    }
}

TEST(ReadVersionStrings, TheOtherFamilysLayoutGivesNoEntries)
{
    const std::vector<BYTE> wide = BlockWriter(true).Build(kTables);
    const std::vector<BYTE> narrow = BlockWriter(false).Build(kTables);
    EXPECT_TRUE(ReadVersionStrings(wide.data(), wide.size(), 0).empty());
    EXPECT_TRUE(ReadVersionStrings(narrow.data(), narrow.size(), 1).empty());
    EXPECT_EQ(ReadVersionStrings(narrow.data(), narrow.size(), -1).size(), 9u);
}

TEST(ReadVersionStrings, SingleByteTextIsInTheAnsiCodePage)
{
    const std::vector<BYTE> block = BlockWriter(false).Build({{{"CompanyName", "Caf\xE9"}}});
    const auto strings = ReadVersionStrings(block.data(), block.size(), 0);
    EXPECT_EQ(VersionStringValue("CompanyName", strings), L"Caf\u00E9");  // code page 1252
}

// Two pages, the second PAGE_NOACCESS: bytes placed flush against it end where the readable
// memory ends, so that any read past their end faults and ends the test program.
class GuardedBytes {
public:
    GuardedBytes()
    {
        SYSTEM_INFO system{};
        ::GetSystemInfo(&system);
        page_ = system.dwPageSize;
        base_ = static_cast<BYTE*>(
            ::VirtualAlloc(nullptr, 2 * page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD previous = 0;
        if (!base_ || !::VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &previous))
            ADD_FAILURE() << "no guard page";
    }
    ~GuardedBytes() { ::VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    // Copies the first `size` bytes to end at the guard page; returns where they start.
    const BYTE* Place(const std::vector<BYTE>& bytes, size_t size)
    {
        if (size > page_) ADD_FAILURE() << "a block larger than a page";
        BYTE* at = base_ + page_ - size;
        std::copy(bytes.begin(), bytes.begin() + size, at);
        return at;
    }

private:
    size_t page_ = 0;
    BYTE* base_ = nullptr;
};

// Every cut of a block, and bytes that only look like one, are read without touching a byte
// past their end.
TEST(ReadVersionStrings, TruncatedAndDamagedBlocksAreSafe)
{
    GuardedBytes guarded;
    for (const bool wide : {true, false}) {
        const short family = wide ? 1 : 0;
        const std::vector<BYTE> block = BlockWriter(wide).Build(kTables);
        for (size_t size = 0; size <= block.size(); ++size) {
            const auto strings = ReadVersionStrings(guarded.Place(block, size), size, family);
            for (const auto& s : strings) EXPECT_LE(s.value.size(), size);
        }
        std::vector<BYTE> damaged = block;
        for (size_t i = 0; i < damaged.size(); i += 7) damaged[i] = 0xFF;
        ReadVersionStrings(guarded.Place(damaged, damaged.size()), damaged.size(), family);
        std::vector<BYTE> unterminated = block;
        for (BYTE& b : unterminated)
            if (b == 0) b = 'A';
        ReadVersionStrings(guarded.Place(unterminated, unterminated.size()), unterminated.size(),
                           family);
    }
    EXPECT_TRUE(ReadVersionStrings(nullptr, 0, 1).empty());
}

TEST(AttributeBits, KeepsReadOnlyHiddenAndSystem)
{
    const std::pair<DWORD, short> cases[] = {
        {FILE_ATTRIBUTE_READONLY, 1},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, 3},
        {FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, 4},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL, 0},
        {0xFFFFFFFF, 7},
    };
    for (const auto& [attributes, bits] : cases) {
        SCOPED_TRACE(attributes);
        EXPECT_EQ(AttributeBits(attributes), bits);
    }
}

TEST(KilobytesText, UsesTheWholeSize)
{
    const std::pair<std::uint64_t, const wchar_t*> cases[] = {
        {155648, L"152"},
        {1023, L"0"},
        {0x80000000ull, L"2097152"},          // negative as a 32-bit number
        {0x100000000ull + 8192, L"4194312"},  // beyond 32 bits
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(KilobytesText(bytes), text);
    }
}

FILETIME FromLocal(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms)
{
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, ms};
    FILETIME local_time{}, utc{};
    ::SystemTimeToFileTime(&local, &local_time);
    ::LocalFileTimeToFileTime(&local_time, &utc);
    return utc;
}

TEST(DateText, ShowsTheLocalDateAndTimeLikeADateValue)
{
    const std::wstring midnight = DateText(FromLocal(2021, 3, 4, 0, 0, 0, 0));
    EXPECT_FALSE(midnight.empty());
    EXPECT_EQ(midnight.find(L':'), std::wstring::npos) << "a date-only value shows no time";
    EXPECT_NE(midnight.find(L"2021"), std::wstring::npos);

    const std::wstring afternoon = DateText(FromLocal(2021, 3, 4, 13, 45, 30, 999));
    EXPECT_NE(afternoon.find(L':'), std::wstring::npos);
    EXPECT_EQ(afternoon, DateText(FromLocal(2021, 3, 4, 13, 45, 30, 0)))
        << "milliseconds are dropped";
}

TEST(CreatedDateText, BlanksTheZeroTime)
{
    const FILETIME zero = FromLocal(1601, 1, 2, 0, 0, 0, 0);
    const std::wstring shown = DateText(zero);
    if (shown.find(L"/1601") == std::wstring::npos) GTEST_SKIP() << "the locale's dates use no '/'";
    EXPECT_EQ(CreatedDateText(zero), L"");
    const FILETIME later = FromLocal(2001, 1, 2, 0, 0, 0, 0);
    EXPECT_EQ(CreatedDateText(later), DateText(later));
}

}  // namespace
}  // namespace kovar3::ModFileInfo
