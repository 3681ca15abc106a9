#include "ini/ModIniEdit.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"

namespace kovar3::ModIniEdit {
namespace {

bool IsNullWord(const std::string& text) { return UpperAscii(text) == "NULL"; }

// What the platform's count is when an answer did not fit its buffer of `size` characters: a
// value is cut to size - 1 characters, a list to size - 2. An answer that fits exactly gives
// the same count; it is read again too, and then comes back whole.
constexpr unsigned kValueCutMark = 1;
constexpr unsigned kListCutMark = 2;

// Runs a read call on NUL-filled buffers, the first of `size` characters, each next one twice
// as large, until the count it returns shows that the whole answer fitted.
template <typename Call>
std::string ReadWhole(unsigned size, unsigned cut_mark, Call call) noexcept
{
    try {
        std::vector<char> buffer;
        for (;;) {
            buffer.assign(size, '\0');
            const DWORD count = call(buffer.data(), size);
            if (count == 0) return NotFoundMarker();
            if (count < size - cut_mark) return std::string(buffer.data(), count);
            if (size >= kLargestBufferSize) return NotFoundMarker();
            size *= 2;
        }
    } catch (...) {
        return NotFoundMarker();
    }
}

// The profile calls turn each section, key and value into a counted UTF-16 string, which holds
// at most 32766 characters. Wine hands a longer one on unconverted and crashes; no such text
// is passed to them. (Key lists are converted another way and may be longer.)
constexpr size_t kLongestProfileText = 32766;

bool FitProfileCalls(const std::string& a, const std::string& b = {}, const std::string& c = {})
{
    return std::max({a.size(), b.size(), c.size()}) <= kLongestProfileText;
}

// Every text reaches the file as part of one line: a carriage return or a line feed in it
// would start another line, which a later read takes for a key or a section of its own.
// The checks below look at single bytes (CR, LF, "=", "[", blanks) that are never the second
// byte of a double-byte character, and "[" only as a first character.
bool HoldsLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

// A line whose first character after blanks is "[" reads back as a section header.
bool OpensLikeSection(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string::npos && line[first] == '[';
}

// A key is written as the start of a "key=value" line: an "=" in it would end the key early.
bool IsWritableKey(const std::string& key)
{
    return !HoldsLineBreak(key) && key.find('=') == std::string::npos && !OpensLikeSection(key);
}

bool IsWritableValue(const std::string& section, const std::string& key, const std::string& value)
{
    return FitProfileCalls(section, key, value) && !HoldsLineBreak(section) && IsWritableKey(key) &&
           !HoldsLineBreak(value);
}

// Each NUL-separated entry becomes one line of the section; a value may hold "=".
bool IsWritableSection(const std::string& section, const std::string& key_list)
{
    if (!FitProfileCalls(section) || HoldsLineBreak(section) || HoldsLineBreak(key_list))
        return false;
    for (size_t begin = 0; begin < key_list.size();) {
        const size_t end = std::min(key_list.find('\0', begin), key_list.size());
        if (OpensLikeSection(key_list.substr(begin, end - begin))) return false;
        begin = end + 1;
    }
    return true;
}

// The key list as the platform reads it: the client's text, then two NUL bytes.
std::string KeyListForPlatform(const std::string& key_list) { return key_list + '\0'; }

}  // namespace

const std::string& NotFoundMarker()
{
    static const std::string marker(3, '\0');
    return marker;
}

bool IsWinIni(const std::string& path) { return UpperAscii(LastPathComponent(path)) == "WIN.INI"; }

std::string ProfileTarget(const std::string& path)
{
    if (FindFirstAnsiChar(path, "\\/:") != std::string::npos) return path;
    std::string target;
    try {
        target = WindowsFolder();
    } catch (const FileSystemError&) {
        return std::string();
    }
    if (!EndsWithAnsiChar(target, "\\")) target += '\\';
    return target + path;
}

std::string GetValue(const std::string& path, const std::string& section,
                     const std::string& key) noexcept
{
    if (!FitProfileCalls(section, key)) return NotFoundMarker();
    return ReadWhole(kValueBufferSize, kValueCutMark, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), NotFoundMarker().c_str(),
                                          buffer, size, path.c_str());
    });
}

std::string GetWinIniValue(const std::string& section, const std::string& key) noexcept
{
    if (!FitProfileCalls(section, key)) return NotFoundMarker();
    return ReadWhole(kValueBufferSize, kValueCutMark, [&](char* buffer, DWORD size) {
        return ::GetProfileStringA(section.c_str(), key.c_str(), NotFoundMarker().c_str(), buffer,
                                   size);
    });
}

std::string GetKeyNames(const std::string& path, const std::string& section) noexcept
{
    if (!FitProfileCalls(section)) return NotFoundMarker();
    return ReadWhole(kNameListBufferSize, kListCutMark, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(section.c_str(), nullptr, NotFoundMarker().c_str(),
                                          buffer, size, path.c_str());
    });
}

std::string GetWinIniKeyNames(const std::string& section) noexcept
{
    if (!FitProfileCalls(section)) return NotFoundMarker();
    return ReadWhole(kNameListBufferSize, kListCutMark, [&](char* buffer, DWORD size) {
        return ::GetProfileStringA(section.c_str(), nullptr, NotFoundMarker().c_str(), buffer,
                                   size);
    });
}

std::string GetSectionNames(const std::string& path) noexcept
{
    return ReadWhole(kNameListBufferSize, kListCutMark, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(nullptr, nullptr, NotFoundMarker().c_str(), buffer, size,
                                          path.c_str());
    });
}

std::string GetWinIniSectionNames() noexcept
{
    return ReadWhole(kNameListBufferSize, kListCutMark, [&](char* buffer, DWORD size) {
        return ::GetProfileStringA(nullptr, nullptr, NotFoundMarker().c_str(), buffer, size);
    });
}

std::string GetSectionLines(const std::string& path, const std::string& section) noexcept
{
    if (!FitProfileCalls(section)) return NotFoundMarker();
    return ReadWhole(kSectionBufferSize, kListCutMark, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileSectionA(section.c_str(), buffer, size, path.c_str());
    });
}

std::string GetWinIniSectionLines(const std::string& section) noexcept
{
    if (!FitProfileCalls(section)) return NotFoundMarker();
    return ReadWhole(kSectionBufferSize, kListCutMark, [&](char* buffer, DWORD size) {
        return ::GetProfileSectionA(section.c_str(), buffer, size);
    });
}

bool WriteValue(const std::string& path, const std::string& section, const std::string& key,
                const std::string& value) noexcept
{
    if (!IsWritableValue(section, key, value)) return false;
    // The two tests are independent; with a null key the value does not matter.
    const char* key_or_null = IsNullWord(key) ? nullptr : key.c_str();
    const char* value_or_null = IsNullWord(value) ? nullptr : value.c_str();
    return ::WritePrivateProfileStringA(section.c_str(), key_or_null, value_or_null,
                                        path.c_str()) != 0;
}

bool WriteWinIniValue(const std::string& section, const std::string& key,
                      const std::string& value) noexcept
{
    if (!IsWritableValue(section, key, value)) return false;
    return ::WriteProfileStringA(section.c_str(), key.c_str(), value.c_str()) != 0;
}

bool WriteSection(const std::string& path, const std::string& section,
                  const std::string& key_list) noexcept
{
    try {
        if (!IsWritableSection(section, key_list)) return false;
        const std::string keys = KeyListForPlatform(key_list);
        return ::WritePrivateProfileSectionA(section.c_str(), keys.c_str(), path.c_str()) != 0;
    } catch (...) {
        return false;
    }
}

bool WriteWinIniSection(const std::string& section, const std::string& key_list) noexcept
{
    try {
        if (!IsWritableSection(section, key_list)) return false;
        const std::string keys = KeyListForPlatform(key_list);
        return ::WriteProfileSectionA(section.c_str(), keys.c_str()) != 0;
    } catch (...) {
        return false;
    }
}

}  // namespace kovar3::ModIniEdit
