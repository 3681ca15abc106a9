// Top-level windows by their title-bar text: listing the visible titled ones, reading the
// foreground window's title, bringing a window to the front, asking one to close or to quit.
//
// Titles are ANSI text read through 255 characters, so a title is at most 254 characters long.
// Window handles are kept at their full width and tested for null.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kovar3::ModWindows {

// 254 characters at most: the buffer holds 255 including the terminator.
constexpr int kTitleBuffer = 255;

// The taskbar's "minimise all windows" command, sent as WM_COMMAND.
constexpr WPARAM kMinimiseAllCommand = 419;

// How long the taskbar is given to minimise the windows before the target is activated.
constexpr DWORD kMinimisePauseMs = 300;

struct ListedWindow {
    std::string title;  // 1 to 254 characters, never ""
    HWND handle;
};

// The window list of this apartment (thread): the result of its last enumeration, replaced by
// the next one. Read right after EnumTopWindows returns; empty when there was none.
const std::vector<ListedWindow>& WindowList() noexcept;

// Lists the visible top-level windows that have title text, in the order the window manager
// reports them. Returns their number, or -1 when the enumeration failed (the list is empty).
long EnumTopWindows() noexcept;

// Gives back the memory of this apartment's window list once it has been read. The list must
// not outlive the call that made it: the thread may end after this library has been unloaded,
// and nothing of the library may be left to run then.
void ReleaseWindowList() noexcept;

// Releases the window list when the scope ends, on every path.
class WindowListScope {
public:
    WindowListScope() = default;
    ~WindowListScope() { ReleaseWindowList(); }
    WindowListScope(const WindowListScope&) = delete;
    WindowListScope& operator=(const WindowListScope&) = delete;
};

// The enumeration callback; lParam is the address of the list being filled. Returns TRUE for
// every window: an error (a failed allocation) only leaves that window out.
BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM lParam);

// The foreground window's title, or "" when there is none, it has no title, or it cannot be
// read.
std::string ActiveWindowTitle() noexcept;

// Activation modes.
constexpr short kActivateOnly = 0;
constexpr short kMinimiseAllFirst = 1;

// Statuses of ActivateWindow.
enum ActivateStatus : long {
    kActivated = 0,      // made the foreground window and raised to the top
    kNothingListed = 1,  // no visible titled window, or the enumeration failed
    kNoSuchTitle = 2,    // no listed window has exactly this title
    kAlreadyActive = 3,  // the window is the foreground window already; nothing changed
    kRefused = 4,        // SetForegroundWindow refused; the window was still restored or shown
};

// Brings the first listed window whose title equals `title` (letter case and all) to the
// foreground. With kMinimiseAllFirst the taskbar window, when there is one, is first asked to
// minimise all windows and given kMinimisePauseMs. The foreground thread's input is attached
// to the target's for the activation and always detached again. A minimised target is
// restored, any other shown; it is raised to the top when the activation succeeded.
//
// A listed title with characters the code page lacks was read with stand-ins for them ("?",
// or a look-alike letter); it never matches, since it is not the window's title.
long ActivateWindow(const std::string& title, short mode) noexcept;

// Close modes.
constexpr short kClose = 1;  // WM_CLOSE: the program may ask to save, or refuse
constexpr short kQuit = 2;   // WM_QUIT: the thread's message loop ends

// Posts WM_CLOSE (kClose) or WM_QUIT (kQuit) to the window the window manager finds by this
// exact title (any class, hidden windows included), without waiting. Does nothing for an empty
// title, a title holding a NUL character (the window manager would read a shorter one), any
// other mode, or a title no window has.
void CloseWindowByTitle(const std::string& title, short mode) noexcept;

}  // namespace kovar3::ModWindows
