#include "system/stopwatch.h"

#include <windows.h>

#include "platform/ModKovar.h"
#include "platform/seams.h"

namespace kovar3::system {

void StartTimer() noexcept { ModKovar::TimerStartTick = Seams().get_tick_count(); }

std::optional<long> StopTimer() noexcept
{
    if (ModKovar::TimerStartTick == 0) return std::nullopt;
    const DWORD elapsed = Seams().get_tick_count() - ModKovar::TimerStartTick;
    ModKovar::TimerStartTick = 0;
    return static_cast<long>(static_cast<LONG>(elapsed));
}

}  // namespace kovar3::system
