// Drives and the computer name: the list of fixed drives with their sizes, drive labels, and
// the computer name used from the next start.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace kovar3::system {

// Whole megabytes (1 048 576 bytes) in `bytes`: rounded to four decimal places, then to a
// whole number, halves to even both times. 40 000 000 000 bytes (38146.9727 MB) give 38147;
// 1.49996 MB rounds to 1.5 and then to 2.
unsigned long long RoundedMegabytes(unsigned long long bytes) noexcept;

struct DriveSizes {
    unsigned long long total_megabytes;
    unsigned long long free_megabytes;  // available to the calling user (quotas apply)
};

// Sizes of the drive whose letter starts `root` ("C", "C:\" and "C:\anything" all mean C:\);
// nothing for drive A, or when the platform cannot tell the sizes.
std::optional<DriveSizes> DriveSpace(const std::string& root);

// The fixed drives other than A in the platform's order, each as its root, total and free
// megabytes separated by spaces, joined by ",": "C:\ 38147 9537,D:\ 76293 100". A drive whose
// sizes cannot be read is left out; "" when no drive qualifies. Throws FileSystemError when a
// drive vanishes while it is being examined.
std::string FixedDriveList(const FileSystem& file_system);

// Sets the label of the fixed or network drive named by the first character of `drive`, in
// one call, so a label the volume refuses leaves the old one in place. 0 when the label was
// set; 1 for "", a drive that does not exist or is of another type, a label with a control
// character in it (NUL, a line break), or a refusal.
short ChangeDriveLabel(const FileSystem& file_system, const std::string& drive,
                       const std::string& label);

// Sets the computer name that takes effect at the next start, cut to its first 15 characters.
// 0 when the platform accepted it; 1 when it refused, or for a name with a NUL character.
short ChangeComputerName(const std::string& name);

}  // namespace kovar3::system
