// A small GUI program for the window tests: it opens the top-level windows named on its command
// line and writes every WM_CLOSE, WM_QUIT and WM_COMMAND they receive to a log, so a test can
// see exactly what a member sent. Not part of the DLL.
//
//   kovar3_window_maker.exe <log file> [--lifetime <ms>] [--close-ends] <window>...
//
// Each <window> is one of
//   show:<title>    a visible window
//   min:<title>     a visible window, minimised
//   hide:<title>    a hidden window
//   notitle         a visible window without title text
//   tray            a window of class Shell_TrayWnd, as the taskbar has; on its "minimise all"
//                   command it minimises the other windows of this program, as the taskbar does
//   tray-ends       the same, but the command ends this program at once, and its windows go
//                   with it
//
// The log is UTF-8, one line per event:
//   window <index> <handle in hex>     once per window, in command-line order
//   ready                               every window exists (and is shown where asked)
//   <index> WM_CLOSE <wParam> <lParam>  likewise WM_QUIT and WM_COMMAND
//   mark <n>                            a marker the test posted (kMarkMessage, wParam n)
// The program ends when it receives kExitMessage, when its lifetime (60 s unless given) runs
// out, so a test that fails half-way never leaves it behind, or, with --close-ends, after the
// first WM_CLOSE, as an ordinary program does.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "utf8_log.h"

namespace {

using kovar3::test_programs::AppendLine;

constexpr UINT kMarkMessage = WM_APP + 1;
constexpr UINT kExitMessage = WM_APP + 2;
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr WPARAM kMinimiseAllCommand = 419;

enum class TrayAction { kNone, kMinimise, kEnd };

HANDLE g_log = INVALID_HANDLE_VALUE;
std::vector<HWND> g_windows;
TrayAction g_tray_action = TrayAction::kNone;
bool g_exit = false;
bool g_close_ends = false;

void Log(const std::wstring& line) { AppendLine(g_log, line); }

int IndexOf(HWND hwnd)
{
    for (size_t i = 0; i < g_windows.size(); ++i) {
        if (g_windows[i] == hwnd) return static_cast<int>(i);
    }
    return -1;
}

void LogMessage(HWND hwnd, const wchar_t* name, WPARAM w, LPARAM l)
{
    wchar_t line[128];
    std::swprintf(line, 128, L"%d %ls %llu %lld", IndexOf(hwnd), name,
                  static_cast<unsigned long long>(w), static_cast<long long>(l));
    Log(line);
}

void ActOnOtherWindows(HWND tray)
{
    // Ending the process takes the windows away without a message to anyone; destroying one
    // here could wait for a program that is not reading its messages (the test, asleep).
    if (g_tray_action == TrayAction::kEnd) ::ExitProcess(0);
    for (HWND other : g_windows) {
        if (other != tray && ::IsWindow(other)) ::ShowWindow(other, SW_MINIMIZE);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_CLOSE:
        LogMessage(hwnd, L"WM_CLOSE", w, l);
        if (g_close_ends) g_exit = true;
        return 0;  // otherwise kept open: the test decides when windows go
    case WM_COMMAND:
        LogMessage(hwnd, L"WM_COMMAND", w, l);
        if (w == kMinimiseAllCommand) ActOnOtherWindows(hwnd);
        return 0;
    case kMarkMessage: Log(L"mark " + std::to_wstring(w)); return 0;
    case kExitMessage: g_exit = true; return 0;
    case WM_TIMER:
        if (w == kLifetimeTimer) g_exit = true;
        return 0;
    default: return ::DefWindowProcW(hwnd, message, w, l);
    }
}

HWND Make(const wchar_t* window_class, const std::wstring& title, int index)
{
    const int offset = 20 * (index % 20);
    return ::CreateWindowExW(0, window_class, title.c_str(), WS_OVERLAPPEDWINDOW, offset, offset,
                             320, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    g_log = kovar3::test_programs::OpenLog(argv[1]);
    if (g_log == INVALID_HANDLE_VALUE) return 3;

    WNDCLASSW plain{};
    plain.lpfnWndProc = WindowProc;
    plain.hInstance = instance;
    plain.lpszClassName = L"Kovar3TestWindow";
    WNDCLASSW tray = plain;
    tray.lpszClassName = L"Shell_TrayWnd";
    ::RegisterClassW(&plain);
    ::RegisterClassW(&tray);

    UINT lifetime = 60000;
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--lifetime" && i + 1 < argc) {
            lifetime = static_cast<UINT>(std::wcstoul(argv[++i], nullptr, 10));
            continue;
        }
        if (arg == L"--close-ends") {
            g_close_ends = true;
            continue;
        }
        const size_t colon = arg.find(L':');
        const std::wstring kind = arg.substr(0, colon);
        const std::wstring title = colon == std::wstring::npos ? L"" : arg.substr(colon + 1);
        const int index = static_cast<int>(g_windows.size());
        HWND hwnd = nullptr;
        if (kind == L"tray" || kind == L"tray-ends") {
            hwnd = Make(L"Shell_TrayWnd", L"", index);
            g_tray_action = kind == L"tray" ? TrayAction::kMinimise : TrayAction::kEnd;
            ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        } else {
            hwnd = Make(L"Kovar3TestWindow", kind == L"notitle" ? L"" : title, index);
            if (kind == L"show" || kind == L"notitle") ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
            if (kind == L"min") ::ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
        }
        g_windows.push_back(hwnd);
        wchar_t line[64];
        std::swprintf(line, 64, L"window %d %llx", index,
                      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
        Log(line);
    }
    if (!g_windows.empty()) ::SetTimer(g_windows.front(), kLifetimeTimer, lifetime, nullptr);
    Log(L"ready");

    MSG msg;
    while (!g_exit) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {  // WM_QUIT, whether posted to a window or to the thread
            LogMessage(msg.hwnd, L"WM_QUIT", msg.wParam, msg.lParam);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    // The windows go with the process. Destroying them here could hand the activation to a
    // window of another program whose thread is not reading its messages (a test waiting for
    // this program to end), and wait for it.
    ::CloseHandle(g_log);
    ::LocalFree(argv);
    return 0;
}
