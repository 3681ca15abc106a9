#include "platform/registry_text.h"

#include <vector>

#include "platform/unique.h"

namespace kovar3 {

std::string ReadRegText(HKEY root, const std::string& path, const std::string& name,
                        REGSAM access) noexcept
{
    RegKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) return {};
    char text[kRegTextBuffer] = {};
    DWORD size = kRegTextBuffer;
    // On success the size counts the terminator; ERROR_MORE_DATA when 255 bytes do not hold it.
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS ||
        size < 2)
        return {};
    try {
        return std::string(text, size - 1);
    } catch (...) {
        return {};
    }
}

void WriteRegText(HKEY key, const char* name, const std::string& text) noexcept
{
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
}

bool ReadRegTextWhole(HKEY key, const std::string& name, std::string& text, DWORD& type)
{
    std::vector<char> buffer(kRegTextBuffer, '\0');
    DWORD stored_type = REG_NONE;
    DWORD size = kRegTextBuffer;
    LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, &stored_type,
                                     reinterpret_cast<BYTE*>(buffer.data()), &size);
    // The value may grow between the two reads; a few tries, then it counts as unreadable.
    for (int tries = 0; result == ERROR_MORE_DATA && tries < 4; ++tries) {
        buffer.assign(size + 1, '\0');
        size = static_cast<DWORD>(buffer.size());
        result = ::RegQueryValueExA(key, name.c_str(), nullptr, &stored_type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS || size < 2) return false;
    text.assign(buffer.data(), size - 1);
    type = stored_type;
    return true;
}

}  // namespace kovar3
