// The log both test programs write: UTF-8 lines appended to a file the test reads.
#pragma once

#include <windows.h>

#include <string>

namespace kovar3::test_programs {

// Opens (or creates) the log for appending, shared so the test can read it meanwhile.
inline HANDLE OpenLog(const wchar_t* path)
{
    return ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Appends `text` and a line break in one write, so a reader never sees half a line.
inline void AppendLine(HANDLE log, const std::wstring& text)
{
    const std::wstring line = text + L"\n";
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), n,
                          nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace kovar3::test_programs
