// Platform calls that a unit test must be able to make fail or report other figures: a
// failing version query, memory totals. The DLL always uses the real calls; only the test
// executable, which links the same code, replaces entries (and restores them).
#pragma once

#include <windows.h>

namespace kovar3 {

struct PlatformSeams {
    BOOL(WINAPI* get_version_ex)(OSVERSIONINFOA* info);
    BOOL(WINAPI* global_memory_status_ex)(MEMORYSTATUSEX* status);
};

PlatformSeams& Seams() noexcept;

}  // namespace kovar3
