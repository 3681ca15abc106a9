// Platform calls that a unit test must be able to make fail, report other figures, or watch
// without harm: a failing version query, memory totals, the tick counter, volume labels,
// logoff and shutdown with the privilege calls before them, sound. The DLL always uses the
// real calls; only the test executable, which links the same code, replaces entries (and
// restores them).
#pragma once

#include <windows.h>

namespace kovar3 {

struct PlatformSeams {
    BOOL(WINAPI* get_version_ex)(OSVERSIONINFOA* info);
    BOOL(WINAPI* global_memory_status_ex)(MEMORYSTATUSEX* status);

    // Drives, logoff and shutdown, timer and sound.
    DWORD(WINAPI* get_tick_count)();
    BOOL(WINAPI* set_volume_label)(LPCSTR root, LPCSTR label);
    BOOL(WINAPI* open_process_token)(HANDLE process, DWORD access, HANDLE* token);
    BOOL(WINAPI* lookup_privilege_value)(LPCSTR system, LPCSTR name, LUID* luid);
    BOOL(WINAPI* adjust_token_privileges)
    (HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* state, DWORD length,
     TOKEN_PRIVILEGES* previous, DWORD* returned);
    BOOL(WINAPI* exit_windows_ex)(UINT flags, DWORD reason);
    BOOL(WINAPI* play_sound)(LPCSTR sound, HMODULE module, DWORD flags);
};

PlatformSeams& Seams() noexcept;

}  // namespace kovar3
