#include "support/paths.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <vector>

namespace kovar3::test {

std::wstring ExecutableFolder()
{
    std::vector<wchar_t> buffer(32768);
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), n);
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring BuiltDll(Arch arch)
{
    const std::wstring folder = ExecutableFolder();
    return arch == Arch::k64 ? folder + L"\\kovar3.dll" : folder + L"\\..\\x86\\kovar3.dll";
}

namespace {

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    static std::atomic<int> counter{0};
    char base[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "kovar3-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

}  // namespace kovar3::test
