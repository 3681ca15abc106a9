// Windows made for a test by a program of their own (fixtures/kovar3_window_maker.exe), and
// waiting with time limits while this thread's own windows (COM's among them) keep running.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace kovar3::test {

// Runs this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);

// Checks `condition` every 20 ms, running this thread's messages in between, until it holds
// or `timeout_ms` has passed; returns its last answer.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = 10000);

// The visible titled top-level windows with their titles through a 255-character buffer, in
// the window manager's order: what a plain EnumWindows + GetWindowTextA + IsWindowVisible loop
// sees.
struct RawWindow {
    HWND handle;
    std::string title;
};
std::vector<RawWindow> RawVisibleTitledWindows();

// A window-maker program with the windows given as its command line describes them
// ("show:<title>", "min:<title>", "hide:<title>", "notitle", "tray", "tray-ends",
// "--close-ends"). The constructor waits up to 10 s for every window to exist; the destructor
// asks the program to end, waits up to 5 s, and terminates it if it has not, so no test
// leaves it behind on any path.
class TestWindows {
public:
    explicit TestWindows(const std::vector<std::wstring>& arguments);
    ~TestWindows();
    TestWindows(const TestWindows&) = delete;
    TestWindows& operator=(const TestWindows&) = delete;

    bool ready() const { return ready_; }
    // The handle of the window made by the index-th window argument.
    HWND handle(size_t index) const { return index < handles_.size() ? handles_[index] : nullptr; }
    DWORD process_id() const { return process_.dwProcessId; }
    // True once the program has ended (within `timeout_ms`).
    bool Ended(DWORD timeout_ms);

    // The messages the windows received since the previous call, as "<index> WM_CLOSE 0 0"
    // lines, in the order received. A marker posted behind everything sent so far makes sure
    // every earlier message has been read; waits up to 10 s for it.
    std::vector<std::string> NewMessages();

private:
    std::vector<std::string> LogLines() const;

    TempFolder folder_;
    std::string log_path_;
    PROCESS_INFORMATION process_{};
    std::vector<HWND> handles_;
    bool ready_ = false;
    size_t lines_read_ = 0;
    unsigned markers_ = 0;
};

}  // namespace kovar3::test
