#include "windows/test_windows.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/paths.h"

namespace kovar3::test {
namespace {

// Messages the window maker understands (see tests/windows/programs/window_maker.cpp).
constexpr UINT kMarkMessage = WM_APP + 1;
constexpr UINT kExitMessage = WM_APP + 2;

void RunMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring Quoted(const std::wstring& argument) { return L"\"" + argument + L"\""; }

BOOL CALLBACK CollectVisibleTitled(HWND hwnd, LPARAM lParam)
{
    char title[255] = {};
    const int n = ::GetWindowTextA(hwnd, title, 255);
    if (n > 0 && ::IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<RawWindow>*>(lParam)->push_back({hwnd, std::string(title, n)});
    return TRUE;
}

}  // namespace

void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        RunMessages();
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= ms) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start >= timeout_ms) return condition();
        PumpFor(20);
    }
}

std::vector<RawWindow> RawVisibleTitledWindows()
{
    std::vector<RawWindow> windows;
    ::EnumWindows(CollectVisibleTitled, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TestWindows::TestWindows(const std::vector<std::wstring>& arguments)
{
    log_path_ = folder_.Path("windows.log");
    std::wstring command = Quoted(ExecutableFolder() + L"\\fixtures\\kovar3_window_maker.exe") +
                           L" " + Quoted(std::wstring(log_path_.begin(), log_path_.end()));
    for (const std::wstring& argument : arguments) command += L" " + Quoted(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_)) {
        ADD_FAILURE() << "the window maker did not start: " << ::GetLastError();
        return;
    }
    ready_ = WaitUntil([&] {
        const std::vector<std::string> lines = LogLines();
        return !lines.empty() && lines.back() == "ready";
    });
    EXPECT_TRUE(ready_) << "the window maker did not make its windows within 10 s";
    for (const std::string& line : LogLines()) {
        std::istringstream words(line);
        std::string word;
        size_t index = 0;
        unsigned long long handle = 0;
        if (words >> word && word == "window" && words >> index >> std::hex >> handle)
            handles_.push_back(reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)));
    }
    for (HWND hwnd : handles_) {
        if (!hwnd) ready_ = false;
    }
    EXPECT_TRUE(ready_) << "the window maker could not make its windows (no usable display?)";
    lines_read_ = LogLines().size();
    // Wine learns of the new windows' places from the X server a moment later and may still
    // reorder them: wait (up to 3 s) until the order holds for about 100 ms.
    std::vector<HWND> order;
    int steady = 0;
    WaitUntil(
        [&] {
            std::vector<HWND> now;
            for (const RawWindow& window : RawVisibleTitledWindows()) now.push_back(window.handle);
            steady = now == order ? steady + 1 : 0;
            order = now;
            return steady >= 5;
        },
        3000);
}

TestWindows::~TestWindows()
{
    if (!process_.hProcess) return;
    for (HWND hwnd : handles_) {
        if (::IsWindow(hwnd)) {
            ::PostMessageW(hwnd, kExitMessage, 0, 0);
            break;
        }
    }
    if (!Ended(5000)) {
        ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, 5000);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
}

bool TestWindows::Ended(DWORD timeout_ms)
{
    return WaitUntil([&] { return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; },
                     timeout_ms);
}

std::vector<std::string> TestWindows::NewMessages()
{
    const std::string marker = "mark " + std::to_string(++markers_);
    for (HWND hwnd : handles_) {
        if (::IsWindow(hwnd)) {
            ::PostMessageW(hwnd, kMarkMessage, markers_, 0);
            break;
        }
    }
    std::vector<std::string> lines;
    size_t marker_line = 0;
    const bool marked = WaitUntil([&] {
        lines = LogLines();
        for (marker_line = lines_read_; marker_line < lines.size(); ++marker_line) {
            if (lines[marker_line] == marker) return true;
        }
        return false;
    });
    EXPECT_TRUE(marked) << "the window maker did not answer within 10 s";
    std::vector<std::string> messages;
    for (size_t i = lines_read_; i < marker_line && i < lines.size(); ++i) {
        if (lines[i].rfind("mark ", 0) != 0) messages.push_back(lines[i]);
    }
    lines_read_ = marker_line + 1;
    return messages;
}

std::vector<std::string> TestWindows::LogLines() const
{
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(log_path_));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

}  // namespace kovar3::test
