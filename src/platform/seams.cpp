#include "platform/seams.h"

namespace kovar3 {

PlatformSeams& Seams() noexcept
{
    static PlatformSeams seams{::GetVersionExA, ::GlobalMemoryStatusEx};
    return seams;
}

}  // namespace kovar3
