#include "windows/ModWindows.h"

#include <new>

#include "platform/seams.h"
#include "platform/text.h"

namespace kovar3::ModWindows {
namespace {

// A plain pointer, not a vector: a thread_local object with a destructor is destroyed at thread
// exit by code of this library, which COM may have unloaded by then (the thread then hangs as
// it ends). The list lives from an enumeration until ReleaseWindowList.
thread_local std::vector<ListedWindow>* window_list = nullptr;

const std::vector<ListedWindow> kNoWindows;

// The title as GetWindowTextA gives it through kTitleBuffer characters; "" when there is none.
std::string WindowTitle(HWND hwnd)
{
    char buffer[kTitleBuffer] = {};
    const int n = ::GetWindowTextA(hwnd, buffer, kTitleBuffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

// True when the listed title is the window's own text, or the first 254 characters of it. A
// character the code page lacks comes back from GetWindowTextA as "?" or a look-alike letter,
// and the listed title then names some other text.
bool TitleIsExact(const ListedWindow& window)
{
    const int length = ::GetWindowTextLengthW(window.handle);
    if (length <= 0) return false;
    std::wstring own(static_cast<size_t>(length) + 1, L'\0');
    own.resize(static_cast<size_t>(::GetWindowTextW(window.handle, own.data(), length + 1)));
    const std::wstring listed = FromAnsi(window.title);
    if (window.title.size() < static_cast<size_t>(kTitleBuffer - 1)) return own == listed;
    return own.compare(0, listed.size(), listed) == 0;
}

// The first listed window with exactly this title; null when there is none.
HWND FindListed(const std::string& title)
{
    for (const ListedWindow& window : WindowList()) {
        if (window.title == title && TitleIsExact(window)) return window.handle;
    }
    return nullptr;
}

void MinimiseAll()
{
    const HWND tray = Seams().find_window("Shell_TrayWnd", nullptr);
    if (!tray) return;
    ::PostMessageA(tray, WM_COMMAND, kMinimiseAllCommand, 0);
    ::Sleep(kMinimisePauseMs);
}

// SetForegroundWindow with the foreground thread's input attached to the target's, as the
// window manager lets only the foreground thread hand the foreground on.
BOOL BringToForeground(HWND hwnd)
{
    const DWORD foreground_thread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const DWORD target_thread = ::GetWindowThreadProcessId(hwnd, nullptr);
    if (foreground_thread == target_thread) return ::SetForegroundWindow(hwnd);
    ::AttachThreadInput(foreground_thread, target_thread, TRUE);
    const BOOL ok = ::SetForegroundWindow(hwnd);
    ::AttachThreadInput(foreground_thread, target_thread, FALSE);
    return ok;
}

}  // namespace

const std::vector<ListedWindow>& WindowList() noexcept
{
    return window_list ? *window_list : kNoWindows;
}

void ReleaseWindowList() noexcept
{
    delete window_list;
    window_list = nullptr;
}

BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM lParam)
{
    try {
        std::string title = WindowTitle(hwnd);
        if (!title.empty() && ::IsWindowVisible(hwnd))
            reinterpret_cast<std::vector<ListedWindow>*>(lParam)->push_back(
                {std::move(title), hwnd});
    } catch (...) {
        // That window is left out; the enumeration goes on.
    }
    return TRUE;
}

long EnumTopWindows() noexcept
{
    if (!window_list) {
        window_list = new (std::nothrow) std::vector<ListedWindow>();
        if (!window_list) return -1;
    }
    window_list->clear();
    if (!::EnumWindows(EnumWindowsProc, reinterpret_cast<LPARAM>(window_list))) {
        window_list->clear();
        return -1;
    }
    return static_cast<long>(window_list->size());
}

std::string ActiveWindowTitle() noexcept
{
    try {
        const HWND hwnd = ::GetForegroundWindow();
        return hwnd ? WindowTitle(hwnd) : std::string();
    } catch (...) {
        return {};
    }
}

long ActivateWindow(const std::string& title, short mode) noexcept
{
    const WindowListScope listing;
    if (EnumTopWindows() < 1) return kNothingListed;
    HWND hwnd = nullptr;
    try {
        hwnd = FindListed(title);
    } catch (...) {
        // A title that cannot be compared matches nothing.
    }
    if (!hwnd) return kNoSuchTitle;
    if (::GetForegroundWindow() == hwnd) return kAlreadyActive;
    if (mode == kMinimiseAllFirst) MinimiseAll();
    const BOOL ok = BringToForeground(hwnd);
    ::ShowWindow(hwnd, ::IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
    if (!ok) return kRefused;
    ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    return kActivated;
}

void CloseWindowByTitle(const std::string& title, short mode) noexcept
{
    if (title.empty() || title.find('\0') != std::string::npos) return;
    if (mode != kClose && mode != kQuit) return;
    const HWND hwnd = ::FindWindowA(nullptr, title.c_str());
    if (!hwnd) return;
    ::PostMessageA(hwnd, mode == kClose ? WM_CLOSE : WM_QUIT, 0, 0);
}

}  // namespace kovar3::ModWindows
