// Both DLLs must run on a bare Windows: every DLL they import is one that Windows ships; and
// regsvr32 and COM of either bitness must find their entry points by their plain names. Read
// from the files, so the 32-bit DLL is checked on machines that cannot load it.
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

// The headers of a PE file read from its bytes: the machine, one data directory, and file
// offsets for relative addresses.
class PeImage {
public:
    explicit PeImage(const std::vector<char>& image) : image_(image)
    {
        const auto dos = At<IMAGE_DOS_HEADER>(image_, 0);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE) return;
        const size_t nt = dos.e_lfanew;
        file_ = At<IMAGE_FILE_HEADER>(image_, nt + 4);
        optional_ = nt + 4 + sizeof(IMAGE_FILE_HEADER);
        sections_ = optional_ + file_.SizeOfOptionalHeader;
    }

    WORD machine() const { return file_.Machine; }

    IMAGE_DATA_DIRECTORY Directory(int entry) const
    {
        if (At<WORD>(image_, optional_) == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
            return At<IMAGE_OPTIONAL_HEADER64>(image_, optional_).DataDirectory[entry];
        return At<IMAGE_OPTIONAL_HEADER32>(image_, optional_).DataDirectory[entry];
    }

    // The file offset of a relative address; the image's size when no section holds it.
    size_t Offset(DWORD rva) const
    {
        for (WORD i = 0; i < file_.NumberOfSections; ++i) {
            const auto s =
                At<IMAGE_SECTION_HEADER>(image_, sections_ + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return image_.size();
    }

    // The NUL-terminated text at a relative address; "" outside the file.
    std::string TextAt(DWORD rva) const
    {
        const size_t at = Offset(rva);
        if (at >= image_.size()) return {};
        const char* begin = image_.data() + at;
        return std::string(begin, strnlen(begin, image_.size() - at));
    }

private:
    const std::vector<char>& image_;
    IMAGE_FILE_HEADER file_{};
    size_t optional_ = 0;
    size_t sections_ = 0;
};

// Names of the DLLs in a PE file's import directory.
std::vector<std::string> ImportedDlls(const std::vector<char>& image)
{
    const PeImage pe(image);
    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY imports = pe.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (imports.VirtualAddress == 0) return names;
    for (size_t d = pe.Offset(imports.VirtualAddress); d < image.size();
         d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(image, d);
        if (descriptor.Name == 0) break;
        names.push_back(pe.TextAt(descriptor.Name));
    }
    return names;
}

// Names in a PE file's export directory, in the table's (sorted) order.
std::vector<std::string> ExportedNames(const std::vector<char>& image)
{
    const PeImage pe(image);
    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY exports = pe.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (exports.VirtualAddress == 0) return names;
    const auto directory = At<IMAGE_EXPORT_DIRECTORY>(image, pe.Offset(exports.VirtualAddress));
    const size_t table = pe.Offset(directory.AddressOfNames);
    for (DWORD i = 0; i < directory.NumberOfNames; ++i)
        names.push_back(pe.TextAt(At<DWORD>(image, table + i * sizeof(DWORD))));
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

// The 32-bit linker decorates stdcall names ("DllInstall@8") unless told not to; regsvr32 and
// COM look the entry points up undecorated.
TEST(DllExports, TheFiveEntryPointsByTheirPlainNames)
{
    const std::vector<std::string> expected = {"DllCanUnloadNow", "DllGetClassObject", "DllInstall",
                                               "DllRegisterServer", "DllUnregisterServer"};
    for (const auto& [arch, machine] : {std::pair{Arch::k64, IMAGE_FILE_MACHINE_AMD64},
                                        std::pair{Arch::k32, IMAGE_FILE_MACHINE_I386}}) {
        SCOPED_TRACE(arch == Arch::k64 ? "x64" : "x86");
        const std::vector<char> image = ReadWholeFile(BuiltDll(arch));
        ASSERT_FALSE(image.empty());
        EXPECT_EQ(PeImage(image).machine(), machine);
        EXPECT_EQ(ExportedNames(image), expected);
    }
}

}  // namespace
}  // namespace kovar3::test
