#include "platform/registry_whole_text.h"

#include <vector>

#include "platform/registry_text.h"

namespace kovar3 {

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
