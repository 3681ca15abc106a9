#include "platform/os_version.h"

#include "platform/seams.h"

namespace kovar3 {

bool QueryOsVersion(OSVERSIONINFOA& record) noexcept
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!Seams().get_version_ex(&info)) return false;
    record = info;
    return true;
}

}  // namespace kovar3
