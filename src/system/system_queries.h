// Questions about the machine and the logged-on user: version, memory, names, display.
#pragma once

#include <windows.h>

#include <string>

#include "platform/variant.h"

namespace kovar3::system {

// The five-element version array: platform identifier, major, minor, build (32-bit integers),
// then the whole 128-character service-pack field, NUL characters included.
Variant OsVersionArray(const OSVERSIONINFOA& record);

// Megabytes in `bytes`: kilobytes rounded half to even, then whole megabytes (truncated), so
// 536 346 624 bytes (523 776 KB) give 511.
long MegabytesFromBytes(unsigned long long bytes) noexcept;

struct MemoryFigures {
    long total_megabytes;  // 0 when the platform reports no total
    long load_percent;     // physical memory in use, 0 to 100
};
MemoryFigures ReadMemory() noexcept;

// The names are cut by the count the platform returns; "" when the call fails.
std::string CurrentUserName();
std::string ComputerName();

long ColorDepthBits() noexcept;   // bits per pixel of the screen
RECT DesktopWorkArea() noexcept;  // zeros when the platform leaves the rectangle alone
SIZE ScreenPixels() noexcept;     // horizontal and vertical resolution

}  // namespace kovar3::system
