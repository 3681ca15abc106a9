#include "ini/ModIniEdit.h"

#include <windows.h>

#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"

namespace kovar3::ModIniEdit {
namespace {

bool IsNullWord(const std::string& text) { return UpperAscii(text) == "NULL"; }

// Runs a read call on a NUL-filled buffer of `size` characters and cuts the buffer by the
// count it returned.
template <typename Call>
std::string ReadInto(unsigned size, Call call) noexcept
{
    try {
        std::vector<char> buffer(size, '\0');
        const DWORD count = call(buffer.data(), size);
        if (count == 0) return NotFoundMarker();
        return std::string(buffer.data(), count < size ? count : size);
    } catch (...) {
        return NotFoundMarker();
    }
}

// The key list as the platform reads it: the client's text, then two NUL bytes.
std::string KeyListForPlatform(const std::string& key_list) { return key_list + '\0'; }

}  // namespace

const std::string& NotFoundMarker()
{
    static const std::string marker(3, '\0');
    return marker;
}

bool IsWinIni(const std::string& path)
{
    const size_t separator = FindLastAnsiChar(path, "\\/:");
    const std::string last = separator == std::string::npos ? path : path.substr(separator + 1);
    return UpperAscii(last) == "WIN.INI";
}

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
    return ReadInto(kValueBufferSize, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), NotFoundMarker().c_str(),
                                          buffer, size, path.c_str());
    });
}

std::string GetWinIniValue(const std::string& section, const std::string& key) noexcept
{
    return ReadInto(kValueBufferSize, [&](char* buffer, DWORD size) {
        return ::GetProfileStringA(section.c_str(), key.c_str(), NotFoundMarker().c_str(), buffer,
                                   size);
    });
}

std::string GetKeyNames(const std::string& path, const std::string& section) noexcept
{
    return ReadInto(kNameListBufferSize, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(section.c_str(), nullptr, NotFoundMarker().c_str(),
                                          buffer, size, path.c_str());
    });
}

std::string GetWinIniKeyNames(const std::string& section) noexcept
{
    return ReadInto(kNameListBufferSize, [&](char* buffer, DWORD size) {
        return ::GetProfileStringA(section.c_str(), nullptr, NotFoundMarker().c_str(), buffer,
                                   size);
    });
}

std::string GetSectionNames(const std::string& path) noexcept
{
    return ReadInto(kNameListBufferSize, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileStringA(nullptr, nullptr, NotFoundMarker().c_str(), buffer, size,
                                          path.c_str());
    });
}

std::string GetWinIniSectionNames() noexcept
{
    return ReadInto(kNameListBufferSize, [&](char* buffer, DWORD size) {
        return ::GetProfileStringA(nullptr, nullptr, NotFoundMarker().c_str(), buffer, size);
    });
}

std::string GetSectionLines(const std::string& path, const std::string& section) noexcept
{
    return ReadInto(kSectionBufferSize, [&](char* buffer, DWORD size) {
        return ::GetPrivateProfileSectionA(section.c_str(), buffer, size, path.c_str());
    });
}

std::string GetWinIniSectionLines(const std::string& section) noexcept
{
    return ReadInto(kSectionBufferSize, [&](char* buffer, DWORD size) {
        return ::GetProfileSectionA(section.c_str(), buffer, size);
    });
}

bool WriteValue(const std::string& path, const std::string& section, const std::string& key,
                const std::string& value) noexcept
{
    // The two tests are independent; with a null key the value does not matter.
    const char* key_or_null = IsNullWord(key) ? nullptr : key.c_str();
    const char* value_or_null = IsNullWord(value) ? nullptr : value.c_str();
    return ::WritePrivateProfileStringA(section.c_str(), key_or_null, value_or_null,
                                        path.c_str()) != 0;
}

bool WriteWinIniValue(const std::string& section, const std::string& key,
                      const std::string& value) noexcept
{
    return ::WriteProfileStringA(section.c_str(), key.c_str(), value.c_str()) != 0;
}

bool WriteSection(const std::string& path, const std::string& section,
                  const std::string& key_list) noexcept
{
    try {
        const std::string keys = KeyListForPlatform(key_list);
        return ::WritePrivateProfileSectionA(section.c_str(), keys.c_str(), path.c_str()) != 0;
    } catch (...) {
        return false;
    }
}

bool WriteWinIniSection(const std::string& section, const std::string& key_list) noexcept
{
    try {
        const std::string keys = KeyListForPlatform(key_list);
        return ::WriteProfileSectionA(section.c_str(), keys.c_str()) != 0;
    } catch (...) {
        return false;
    }
}

}  // namespace kovar3::ModIniEdit
