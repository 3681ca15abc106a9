// Module-level state shared by all Ops objects of one apartment (thread): the operating-system
// family and major version detected at each creation of an Ops object, and the elapsed-time
// timer's start tick. Each thread has its own copy, zero until first written there. Also the
// routine that enables the shutdown privilege before a shutdown or restart.
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

// Enables SeShutdownPrivilege in the current process's token, where the token allows it (the
// 95/98/ME family has no tokens). Nothing is reported: a shutdown or restart that follows goes
// ahead either way, and the privilege stays enabled afterwards.
void EnableShutdownPrivilege() noexcept;

}  // namespace kovar3::ModKovar
