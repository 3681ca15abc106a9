#include "system/system_queries.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/safearray.h"
#include "platform/seams.h"
#include "platform/unique.h"

namespace kovar3::system {

Variant OsVersionArray(const OSVERSIONINFOA& record)
{
    SafeArrayBuilder items(5);
    items.Add(Variant::I4(static_cast<long>(record.dwPlatformId)));
    items.Add(Variant::I4(static_cast<long>(record.dwMajorVersion)));
    items.Add(Variant::I4(static_cast<long>(record.dwMinorVersion)));
    items.Add(Variant::I4(static_cast<long>(record.dwBuildNumber)));
    items.Add(Variant::Text(std::string(record.szCSDVersion, sizeof record.szCSDVersion)));
    return items.Build();
}

long MegabytesFromBytes(unsigned long long bytes) noexcept
{
    // nearbyint rounds half to even in the default rounding mode.
    const double kilobytes = std::nearbyint(static_cast<double>(bytes) / 1024.0);
    return static_cast<long>(kilobytes / 1024.0);
}

MemoryFigures ReadMemory() noexcept
{
    // The 64-bit total: the 32-bit record cannot report 2 GiB or more.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!Seams().global_memory_status_ex(&status)) return {0, 0};
    return {MegabytesFromBytes(status.ullTotalPhys), static_cast<long>(status.dwMemoryLoad)};
}

std::string CurrentUserName()
{
    char buffer[255];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    DWORD size = sizeof buffer;
    // On success the size counts the terminating NUL.
    if (!::GetUserNameA(buffer, &size) || size == 0 || size > sizeof buffer) return {};
    return std::string(buffer, size - 1);
}

std::string ComputerName()
{
    char buffer[MAX_COMPUTERNAME_LENGTH + 1];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    DWORD size = sizeof buffer;
    // On success the size excludes the terminator.
    if (!::GetComputerNameA(buffer, &size) || size > sizeof buffer) return {};
    return std::string(buffer, size);
}

long ColorDepthBits() noexcept
{
    const ScreenDC screen;
    return ::GetDeviceCaps(screen.get(), BITSPIXEL);
}

RECT DesktopWorkArea() noexcept
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

SIZE ScreenPixels() noexcept
{
    const ScreenDC screen;
    return {::GetDeviceCaps(screen.get(), HORZRES), ::GetDeviceCaps(screen.get(), VERTRES)};
}

}  // namespace kovar3::system
