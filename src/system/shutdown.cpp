#include "system/shutdown.h"

#include <windows.h>

#include "platform/ModKovar.h"
#include "platform/seams.h"

namespace kovar3::system {

void ExitWindowsByMode(short mode) noexcept
{
    UINT flags = 0;
    switch (mode) {
    case 0: flags = EWX_LOGOFF; break;
    case 1: flags = EWX_SHUTDOWN; break;
    case 2: flags = EWX_REBOOT; break;
    default: return;
    }
    if (flags != EWX_LOGOFF) ModKovar::EnableShutdownPrivilege();
    Seams().exit_windows_ex(flags, 0);
}

}  // namespace kovar3::system
