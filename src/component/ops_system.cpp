// Ops members that answer questions about the machine and the user.
#include "component/ops.h"
#include "platform/member.h"
#include "platform/os_version.h"
#include "platform/params.h"
#include "system/system_queries.h"

namespace kovar3 {

// Writes the version array; 1 with "" when the version query fails.
HRESULT Ops::GetOpVersion(VARIANT* vOSVersion, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            OSVERSIONINFOA record{};
            if (!QueryOsVersion(record)) {
                WriteOutput(vOSVersion, Variant::Text(""));
                return Variant::I2(1);
            }
            WriteOutput(vOSVersion, system::OsVersionArray(record));
            return Variant::I2(0);
        },
        [&] {
            WriteOutputNoThrow(vOSVersion, Variant::Text(""));
            return Variant::I2(1);
        });
}

// Megabytes installed (left alone when the platform reports no total) and the memory load in
// percent; on error both outputs become 16-bit zeros.
HRESULT Ops::GetMemory(VARIANT* vTotal, VARIANT* vInUse, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const system::MemoryFigures memory = system::ReadMemory();
            if (memory.total_megabytes > 0)
                WriteOutput(vTotal, Variant::I4(memory.total_megabytes));
            WriteOutput(vInUse, Variant::I4(memory.load_percent));
            return Variant::I2(0);
        },
        [&] {
            WriteOutputNoThrow(vTotal, Variant::I2(0));
            WriteOutputNoThrow(vInUse, Variant::I2(0));
            return Variant::I2(1);
        });
}

HRESULT Ops::GetCurUser(VARIANT* result)
{
    return RunMember(
        result, [] { return Variant::Text(system::CurrentUserName()); },
        [] { return Variant::Text(""); });
}

HRESULT Ops::GetCompName(VARIANT* result)
{
    return RunMember(
        result, [] { return Variant::Text(system::ComputerName()); },
        [] { return Variant::Text(""); });
}

// Bits per pixel as a 32-bit integer; only a failure gives the 16-bit 0.
HRESULT Ops::GetColorDepthBPP(VARIANT* result)
{
    return RunMember(
        result, [] { return Variant::I4(system::ColorDepthBits()); },
        [] { return Variant::I2(0); });
}

// The work area's right and bottom edges (its size only when it starts at 0,0).
HRESULT Ops::GetDesktopPixels(VARIANT* vDeskWidth, VARIANT* vDeskHeight, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const RECT area = system::DesktopWorkArea();
            WriteOutput(vDeskWidth, Variant::I4(area.right));
            WriteOutput(vDeskHeight, Variant::I4(area.bottom));
            return Variant::I2(0);
        },
        [&] {
            WriteOutputNoThrow(vDeskWidth, Variant::I2(0));
            WriteOutputNoThrow(vDeskHeight, Variant::I2(0));
            return Variant::I2(1);
        });
}

HRESULT Ops::GetScreenPixels(VARIANT* vScreenWidth, VARIANT* vScreenHeight, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const SIZE screen = system::ScreenPixels();
            WriteOutput(vScreenWidth, Variant::I4(screen.cx));
            WriteOutput(vScreenHeight, Variant::I4(screen.cy));
            return Variant::I2(0);
        },
        [&] {
            WriteOutputNoThrow(vScreenWidth, Variant::I2(0));
            WriteOutputNoThrow(vScreenHeight, Variant::I2(0));
            return Variant::I2(1);
        });
}

}  // namespace kovar3
