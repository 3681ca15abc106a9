#include "platform/environment.h"

#include <windows.h>

#include <vector>

namespace kovar3 {

bool ExpandEnvironment(const std::string& text, std::string& expanded)
{
    constexpr DWORD kFirstTry = 255;
    std::vector<char> buffer(kFirstTry, '\0');
    // The count returned includes the terminator.
    DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), kFirstTry);
    if (needed > buffer.size()) {
        buffer.assign(needed, '\0');
        needed = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), needed);
        if (needed > buffer.size()) return false;  // the environment grew in between
    }
    if (needed < 1) return false;
    expanded.assign(buffer.data(), needed - 1);
    return true;
}

}  // namespace kovar3
