#include "system/drives.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/seams.h"
#include "platform/text.h"

namespace kovar3::system {
namespace {

constexpr unsigned long long kBytesPerMegabyte = 1048576;  // 2^20
constexpr DWORD kDriveStringsSize = 255;
constexpr size_t kComputerNameLimit = 15;  // characters, the NetBIOS limit

bool IsDriveA(const std::string& root) { return UpperAscii(root) == "A:\\"; }

// The root folder of the drive whose letter starts `text` ("C" or "C:\anything" give "C:\").
std::string DriveRootOf(const std::string& text) { return std::string(1, text[0]) + ":\\"; }

bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

// NUL, line breaks, tabs and the other control characters: no file system takes them in a
// label, and Wine, which keeps a label as a line of a file, would store a line break as is.
bool HasControlCharacter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Halves to even: the quotient of numerator / denominator rounded to a whole number.
unsigned long long RoundHalfToEven(unsigned long long numerator, unsigned long long denominator)
{
    unsigned long long quotient = numerator / denominator;
    const unsigned long long twice_remainder = (numerator % denominator) * 2;
    if (twice_remainder > denominator || (twice_remainder == denominator && (quotient & 1)))
        ++quotient;
    return quotient;
}

// The platform's drive roots ("C:\", "D:\", ...) in its order.
std::vector<std::string> LogicalDriveRoots()
{
    char buffer[kDriveStringsSize] = {};
    const DWORD length = ::GetLogicalDriveStringsA(kDriveStringsSize, buffer);
    std::vector<std::string> roots;
    if (length == 0 || length > kDriveStringsSize) return roots;
    for (size_t start = 0; start < length;) {
        const std::string root = CutAtNul(buffer + start, length - start);
        if (!root.empty()) roots.push_back(root);
        start += root.size() + 1;
    }
    return roots;
}

}  // namespace

unsigned long long RoundedMegabytes(unsigned long long bytes) noexcept
{
    // Exact integer arithmetic: the fraction of a megabyte is m / 2^20, so its ten-thousandths
    // are m * 625 / 2^16; a double would lose the halves on large drives.
    const unsigned long long whole = bytes / kBytesPerMegabyte;
    const unsigned long long rest = bytes % kBytesPerMegabyte;
    const unsigned long long ten_thousandths = RoundHalfToEven(rest * 625, 65536);
    return RoundHalfToEven(whole * 10000 + ten_thousandths, 10000);
}

std::optional<DriveSizes> DriveSpace(const std::string& root)
{
    if (root.empty()) return std::nullopt;
    const std::string drive_root = DriveRootOf(root);
    if (IsDriveA(drive_root)) return std::nullopt;
    ULARGE_INTEGER available{}, total{}, total_free{};
    if (!::GetDiskFreeSpaceExA(drive_root.c_str(), &available, &total, &total_free))
        return std::nullopt;
    return DriveSizes{RoundedMegabytes(total.QuadPart), RoundedMegabytes(available.QuadPart)};
}

std::string FixedDriveList(const FileSystem& file_system)
{
    std::string list;
    for (const std::string& root : LogicalDriveRoots()) {
        if (IsDriveA(root) || !file_system.DriveExists(root)) continue;
        if (file_system.GetDriveType(root) != DriveKind::kFixed) continue;
        const std::optional<DriveSizes> sizes = DriveSpace(root);
        if (!sizes) continue;
        if (!list.empty()) list += ',';
        list += root + " " + std::to_string(sizes->total_megabytes) + " " +
                std::to_string(sizes->free_megabytes);
    }
    return list;
}

short ChangeDriveLabel(const FileSystem& file_system, const std::string& drive,
                       const std::string& label)
{
    if (drive.empty() || HasControlCharacter(label)) return 1;
    const std::string root = DriveRootOf(drive);
    if (!file_system.DriveExists(root)) return 1;
    const DriveKind kind = file_system.GetDriveType(root);
    if (kind != DriveKind::kFixed && kind != DriveKind::kNetwork) return 1;
    // The new label replaces the old one in the same call. Removing the old label first would
    // leave the drive without any when the new one is refused (too long, characters the file
    // system rejects, a read-only volume).
    return Seams().set_volume_label(root.c_str(), label.c_str()) ? 0 : 1;
}

short ChangeComputerName(const std::string& name)
{
    if (HasNul(name)) return 1;
    // Cut by characters, not bytes: a double-byte character is never split.
    std::wstring wide = FromAnsi(name);
    if (wide.size() > kComputerNameLimit) wide.resize(kComputerNameLimit);
    return ::SetComputerNameA(ToAnsi(wide).c_str()) ? 0 : 1;
}

}  // namespace kovar3::system
