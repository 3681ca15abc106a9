// The elapsed-time stopwatch: one start tick per apartment (ModKovar::TimerStartTick), shared
// by every Ops object there and reset when one is created.
#pragma once

#include <optional>

namespace kovar3::system {

// Records the tick count as the start; a running measurement simply starts again. A tick
// count of 0 leaves the stopwatch stopped (0 means "not running").
void StartTimer() noexcept;

// Milliseconds since the start, counted modulo 2^32 so an interval across the tick counter's
// wrap is still right, and read as a signed 32-bit number (an interval over 2^31 - 1
// milliseconds reads negative). Stops the stopwatch; nothing when it was not running.
std::optional<long> StopTimer() noexcept;

}  // namespace kovar3::system
