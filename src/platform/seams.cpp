#include "platform/seams.h"

#include <mmsystem.h>

namespace kovar3 {

PlatformSeams& Seams() noexcept
{
    static PlatformSeams seams{
        ::GetVersionExA,    ::GlobalMemoryStatusEx,  ::GetTickCount,          ::SetVolumeLabelA,
        ::OpenProcessToken, ::LookupPrivilegeValueA, ::AdjustTokenPrivileges, ::ExitWindowsEx,
        ::PlaySoundA,       ::FindWindowA,           ::ShellExecuteExA};
    return seams;
}

}  // namespace kovar3
