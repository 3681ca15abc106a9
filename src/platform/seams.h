// Platform calls that a unit test must be able to make fail, report other figures, or watch
// without harm: a failing version query, memory totals, the tick counter, volume labels,
// logoff and shutdown with the privilege calls before them, sound, a desktop without a
// taskbar window (Wine always has one), a shell that refuses without an error code. The DLL
// always uses the real calls; only the test executable, which links the same code, replaces
// entries (and restores them).
#pragma once

#include <windows.h>
#include <shellapi.h>

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

    // Windows and the shell.
    HWND(WINAPI* find_window)(LPCSTR class_name, LPCSTR window_name);
    BOOL(WINAPI* shell_execute_ex)(SHELLEXECUTEINFOA* record);
};

PlatformSeams& Seams() noexcept;

}  // namespace kovar3
