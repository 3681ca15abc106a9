// Platform calls that a unit test must be able to make fail or report other figures: a
// failing version query, memory totals, a desktop without a taskbar window (Wine always has
// one), a shell that refuses without an error code. The DLL always uses the real calls; only
// the test executable, which links the same code, replaces entries (and restores them).
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace kovar3 {

struct PlatformSeams {
    BOOL(WINAPI* get_version_ex)(OSVERSIONINFOA* info);
    BOOL(WINAPI* global_memory_status_ex)(MEMORYSTATUSEX* status);
    HWND(WINAPI* find_window)(LPCSTR class_name, LPCSTR window_name);
    BOOL(WINAPI* shell_execute_ex)(SHELLEXECUTEINFOA* record);
};

PlatformSeams& Seams() noexcept;

}  // namespace kovar3
