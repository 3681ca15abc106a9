#include "platform/ModKovar.h"

#include "platform/os_version.h"

namespace kovar3::ModKovar {

thread_local short OsFamily = 0;
thread_local long OsMajorVersion = 0;
thread_local DWORD TimerStartTick = 0;

void DetectOsFamily() noexcept
{
    OSVERSIONINFOA info{};
    if (!QueryOsVersion(info)) {
        OsFamily = -1;
        return;
    }
    OsFamily = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
    OsMajorVersion = static_cast<long>(info.dwMajorVersion);
}

}  // namespace kovar3::ModKovar
