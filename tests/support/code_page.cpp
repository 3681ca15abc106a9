#include "support/code_page.h"

#include <windows.h>

#include <cstdlib>

namespace kovar3::test {

bool CodePageHolds(const std::wstring& text)
{
    BOOL used_default = FALSE;
    const int n =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                              static_cast<int>(text.size()), nullptr, 0, nullptr, &used_default);
    return n > 0 && !used_default;
}

bool IsDoubleByteCodePage()
{
    CPINFO info{};
    return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

unsigned ExpectedCodePage()
{
    const char* expected = std::getenv("KOVAR3_EXPECT_CODEPAGE");
    return expected ? static_cast<unsigned>(std::strtoul(expected, nullptr, 10)) : 0;
}

}  // namespace kovar3::test
