#include "platform/text.h"

#include <climits>
#include <cstring>
#include <new>

#include "platform/errors.h"

namespace kovar3 {
namespace {

// Whether the ANSI code page has characters of two bytes; read once, as the code page is fixed
// for the life of a process.
bool IsDoubleByteCodePage() noexcept
{
    static const bool double_byte = [] {
        CPINFO info{};
        return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
    }();
    return double_byte;
}

}  // namespace

std::string ToAnsi(const wchar_t* text, size_t length)
{
    if (length == 0) return {};
    if (length > INT_MAX) throw std::bad_alloc();
    const int n = static_cast<int>(length);
    // Without best fit, a character the code page lacks becomes the default character and
    // the conversion says so; with it, U+017A would quietly become "z".
    BOOL used_default = FALSE;
    const int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, n, nullptr, 0,
                                            nullptr, &used_default);
    if (bytes <= 0) throw std::bad_alloc();
    if (used_default) throw ConversionError(kTextOutsideCodePage);
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, n, out.data(), bytes, nullptr,
                          &used_default);
    if (used_default) throw ConversionError(kTextOutsideCodePage);
    return out;
}

std::wstring FromAnsi(const char* text, size_t length)
{
    if (length == 0) return {};
    if (length > INT_MAX) throw std::bad_alloc();
    const int n = static_cast<int>(length);
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, text, n, nullptr, 0);
    if (chars <= 0) throw std::bad_alloc();
    std::wstring out(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, n, out.data(), chars);
    return out;
}

std::string CutAtNul(const char* buffer, size_t size)
{
    const void* nul = std::memchr(buffer, '\0', size);
    return std::string(buffer, nul ? static_cast<const char*>(nul) - buffer : size);
}

size_t AnsiCharLength(std::string_view text, size_t at) noexcept
{
    if (at >= text.size()) return 0;
    if (at + 1 < text.size() && IsDoubleByteCodePage() &&
        ::IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[at])))
        return 2;
    return 1;
}

size_t FindFirstAnsiChar(std::string_view text, std::string_view set) noexcept
{
    for (size_t at = 0; at < text.size(); at += AnsiCharLength(text, at)) {
        if (AnsiCharLength(text, at) == 1 && set.find(text[at]) != std::string_view::npos)
            return at;
    }
    return std::string_view::npos;
}

size_t FindLastAnsiChar(std::string_view text, std::string_view set) noexcept
{
    size_t found = std::string_view::npos;
    for (size_t at = 0; at < text.size(); at += AnsiCharLength(text, at)) {
        if (AnsiCharLength(text, at) == 1 && set.find(text[at]) != std::string_view::npos)
            found = at;
    }
    return found;
}

bool EndsWithAnsiChar(std::string_view text, std::string_view set) noexcept
{
    return !text.empty() && FindLastAnsiChar(text, set) == text.size() - 1;
}

std::string UpperAscii(std::string text)
{
    for (size_t at = 0; at < text.size(); at += AnsiCharLength(text, at)) {
        if (AnsiCharLength(text, at) == 1) text[at] = UpperAscii(text[at]);
    }
    return text;
}

}  // namespace kovar3
