// Both DLLs must run on a bare Windows: every DLL they import is one that Windows ships.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "support/paths.h"

namespace kovar3::test {
namespace {

std::vector<char> ReadWholeFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename T>
T At(const std::vector<char>& image, size_t offset)
{
    T value{};
    if (offset + sizeof(T) <= image.size()) std::memcpy(&value, image.data() + offset, sizeof(T));
    return value;
}

// Names of the DLLs in a PE file's import directory, read from the file's bytes.
std::vector<std::string> ImportedDlls(const std::vector<char>& image)
{
    std::vector<std::string> names;
    const auto dos = At<IMAGE_DOS_HEADER>(image, 0);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE) return names;
    const size_t nt = dos.e_lfanew;
    const auto file = At<IMAGE_FILE_HEADER>(image, nt + 4);
    const size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    const WORD magic = At<WORD>(image, optional);
    IMAGE_DATA_DIRECTORY imports{};
    if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        imports = At<IMAGE_OPTIONAL_HEADER64>(image, optional)
                      .DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    else
        imports = At<IMAGE_OPTIONAL_HEADER32>(image, optional)
                      .DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const size_t sections = optional + file.SizeOfOptionalHeader;
    auto to_offset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < file.NumberOfSections; ++i) {
            const auto s =
                At<IMAGE_SECTION_HEADER>(image, sections + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return image.size();
    };
    for (size_t d = to_offset(imports.VirtualAddress);; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(image, d);
        if (descriptor.Name == 0) break;
        const size_t name = to_offset(descriptor.Name);
        if (name >= image.size()) break;
        names.emplace_back(image.data() + name);
    }
    return names;
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return static_cast<char>(::tolower(c)); });
    return s;
}

TEST(DllImports, OnlyWindowsSystemDlls)
{
    const std::set<std::string> system_dlls = {
        "kernel32.dll", "user32.dll",   "gdi32.dll", "advapi32.dll", "ole32.dll",  "oleaut32.dll",
        "shell32.dll",  "comdlg32.dll", "winmm.dll", "version.dll",  "msvcrt.dll", "shlwapi.dll",
    };
    for (const Arch arch : {Arch::k64, Arch::k32}) {
        SCOPED_TRACE(arch == Arch::k64 ? "x64" : "x86");
        const std::vector<char> image = ReadWholeFile(BuiltDll(arch));
        ASSERT_FALSE(image.empty());
        const std::vector<std::string> dlls = ImportedDlls(image);
        EXPECT_FALSE(dlls.empty());
        for (const std::string& dll : dlls) EXPECT_TRUE(system_dlls.count(Lower(dll))) << dll;
    }
}

}  // namespace
}  // namespace kovar3::test
