#include "platform/text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace kovar3 {

std::string ToAnsi(const wchar_t* text, size_t length)
{
    if (length == 0) return {};
    if (length > INT_MAX) throw std::bad_alloc();
    const int n = static_cast<int>(length);
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, n, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) throw std::bad_alloc();
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, n, out.data(), bytes, nullptr, nullptr);
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

std::string UpperAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return UpperAscii(c); });
    return text;
}

}  // namespace kovar3
