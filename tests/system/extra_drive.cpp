#include "system/extra_drive.h"

#include <winioctl.h>

#include <vector>

namespace kovar3::test {
namespace {

// Wine's mount manager interface (Wine's include/ddk/mountmgr.h): defining a drive letter
// for a Unix folder, or removing it with the type DRIVE_NO_ROOT_DIR.
constexpr ULONG kMountManagerType = 'm';
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(kMountManagerType, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct MountManagerUnixDrive {
    ULONG size;
    ULONG type;
    ULONG fs_type;
    DWORD serial;
    ULONGLONG unix_dev;
    WCHAR letter;
    USHORT mount_point_offset;
    USHORT device_offset;
    USHORT label_offset;
};

bool DefineDrive(char letter, UINT type, const std::string& unix_path)
{
    const HANDLE manager =
        ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    std::vector<char> request(sizeof(MountManagerUnixDrive) + unix_path.size() + 1);
    auto* drive = reinterpret_cast<MountManagerUnixDrive*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = type;
    drive->letter = static_cast<WCHAR>(letter - 'A' + 'a');
    if (!unix_path.empty()) {
        unix_path.copy(request.data() + sizeof *drive, unix_path.size());
        drive->mount_point_offset = sizeof *drive;
    }
    const BOOL done =
        ::DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                          static_cast<DWORD>(request.size()), nullptr, 0, nullptr, nullptr);
    ::CloseHandle(manager);
    return done != FALSE;
}

// The Unix path of a Windows path, from Wine's own kernel32 export.
std::string UnixPath(const std::string& path)
{
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    const auto unix_file_name = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!unix_file_name) return "";
    std::wstring wide(path.size() + 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    char* unix_path = unix_file_name(wide.c_str());
    if (!unix_path) return "";
    std::string result = unix_path;
    ::HeapFree(::GetProcessHeap(), 0, unix_path);
    return result;
}

bool LetterInUse(char letter) { return (::GetLogicalDrives() >> (letter - 'A')) & 1; }

}  // namespace

bool UnderWine()
{
    return ::GetProcAddress(::GetModuleHandleA("ntdll"), "wine_get_version") != nullptr;
}

ExtraDrive::ExtraDrive(UINT type, char letter)
{
    if (!UnderWine()) return;
    if (letter == 0) {
        for (char candidate = 'Y'; candidate >= 'D' && letter == 0; --candidate) {
            if (!LetterInUse(candidate)) letter = candidate;
        }
    }
    if (letter == 0 || LetterInUse(letter)) return;
    const std::string unix_path = UnixPath(folder_.path());
    if (!unix_path.empty() && DefineDrive(letter, type, unix_path)) letter_ = letter;
}

ExtraDrive::~ExtraDrive()
{
    if (letter_) DefineDrive(letter_, DRIVE_NO_ROOT_DIR, "");
}

std::string ExtraDrive::Label() const
{
    // Wine keeps the label in this file, as UTF-8 with a line break; GetVolumeInformation
    // answers from the mount manager's copy, read when the drive was defined.
    std::string label = ReadWholeFile(folder_.Path(".windows-label"));
    while (!label.empty() && (label.back() == '\n' || label.back() == '\r')) label.pop_back();
    if (label.empty()) return "";
    std::wstring wide(label.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, label.data(), static_cast<int>(label.size()),
                                      wide.data(), static_cast<int>(wide.size())));
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                      nullptr));
    return ansi;
}

}  // namespace kovar3::test
