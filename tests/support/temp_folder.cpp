#include "support/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/text.h"

namespace kovar3::test {
namespace {

// Wide names throughout: a file whose name the ANSI code page cannot hold (one a failing test
// left behind) still goes.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    static unsigned counter = 0;
    char base[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof base, base);
    path_ = std::string(base) + "kovar3-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    RemoveTree(FromAnsi(path_));
    EXPECT_TRUE(::CreateDirectoryA(path_.c_str(), nullptr)) << path_;
}

TempFolder::~TempFolder() { RemoveTree(FromAnsi(path_)); }

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    EXPECT_TRUE(out.good()) << path;
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool FileIsThere(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kovar3::test
