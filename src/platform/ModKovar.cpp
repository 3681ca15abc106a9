#include "platform/ModKovar.h"

#include "platform/os_version.h"
#include "platform/seams.h"
#include "platform/unique.h"

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

void EnableShutdownPrivilege() noexcept
{
    const PlatformSeams& seams = Seams();
    Handle token;
    if (!seams.open_process_token(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                                  token.put()))
        return;
    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    seams.lookup_privilege_value("", "SeShutdownPrivilege", &wanted.Privileges[0].Luid);
    TOKEN_PRIVILEGES previous{};
    DWORD returned = 0;
    seams.adjust_token_privileges(token.get(), FALSE, &wanted, sizeof previous, &previous,
                                  &returned);
}

}  // namespace kovar3::ModKovar
