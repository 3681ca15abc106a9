#include "platform/seams.h"

namespace kovar3 {

PlatformSeams& Seams() noexcept
{
    static PlatformSeams seams{::GetVersionExA, ::GlobalMemoryStatusEx, ::FindWindowA,
                               ::ShellExecuteExA};
    return seams;
}

}  // namespace kovar3
