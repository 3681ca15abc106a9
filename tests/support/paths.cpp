#include "support/paths.h"

#include <windows.h>

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

}  // namespace kovar3::test
