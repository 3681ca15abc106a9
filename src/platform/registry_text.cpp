#include "platform/registry_text.h"

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

}  // namespace kovar3
