// Module-level state shared by all Ops objects of one apartment (thread): the operating-system
// family and major version detected at each creation of an Ops object, and the elapsed-time
// timer's start tick. Each thread has its own copy, zero until first written there.
#pragma once

#include <windows.h>

namespace kovar3::ModKovar {

// 1: NT family (platform identifier 2); 0: any other platform (the 95/98/ME family);
// -1: the version query failed.
extern thread_local short OsFamily;
// Major version from the same query; kept when the query fails.
extern thread_local long OsMajorVersion;
// Tick count at TimerStart; 0 when no measurement is running.
extern thread_local DWORD TimerStartTick;

// Sets OsFamily and OsMajorVersion from the platform's version query.
void DetectOsFamily() noexcept;

}  // namespace kovar3::ModKovar
