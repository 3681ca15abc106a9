// Answering common dialogues as a user would, for tests and for the picture script: find the
// dialogue by its title (with a time limit), read what it shows, fill it through its controls
// and press OK or Cancel. Every wait has a limit and every press is posted, so a driver never
// blocks on the dialogue it works.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kovar3::test {

// A visible dialogue window (class "#32770") with exactly this title, of the given process (0:
// any process); `title` null matches any title. Waits up to `timeout_ms`; null when none came.
HWND WaitForDialog(const char* title, DWORD process_id, DWORD timeout_ms);

std::string WindowText(HWND window);
// Entries of a file dialogue's file-type box, in order.
std::vector<std::string> FileTypes(HWND dialog);
// Names listed in a file dialogue's folder view. Only for a dialogue of this process (the view
// answers through pointers); gives nothing for another process's dialogue.
std::vector<std::string> ListedNames(HWND dialog);
// Waits up to `timeout_ms` for `name` to be listed (the view fills as the folder is read);
// gives what is listed at the end.
std::vector<std::string> WaitForListed(HWND dialog, const std::string& name, DWORD timeout_ms);

// Types into the file-name box; false when the dialogue has none.
bool TypeFileName(HWND dialog, const std::string& text);
// Types red, green and blue into the colour dialogue's fields; false when it has none.
bool TypeColor(HWND dialog, int red, int green, int blue);
void PressOk(HWND dialog);
void PressCancel(HWND dialog);

// Cancels every dialogue of the process (message boxes included) that is still open.
void CancelAllDialogs(DWORD process_id);

// What a driver saw: whether the dialogue came, its title and file types, and anything the
// answer recorded.
struct DialogView {
    bool found = false;
    std::string title;
    std::vector<std::string> file_types;
    std::vector<std::string> listed;
};

// Answers one dialogue of this process from a thread of its own while the test's thread sits in
// the dialogue's modal loop. Create it just before the call that shows the dialogue and call
// Finish() after the call has returned. The thread waits for the dialogue (30 s at most), runs
// `answer`, and from then on cancels whatever dialogue of the process is still open after a
// grace period, so the call always returns, whether the answer worked or not. The destructor
// finishes too, so a test that fails half-way still ends its dialogue.
class DialogDriver {
public:
    using Answer = std::function<void(HWND dialog, DialogView& view)>;
    DialogDriver(const char* title, Answer answer);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Stops the driver; what it saw is then stable.
    const DialogView& Finish();

private:
    void Run();

    std::string title_;
    bool any_title_;
    Answer answer_;
    DialogView view_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// Answers that tests use often.
DialogDriver::Answer TypeAndPressOk(std::string name);
DialogDriver::Answer ColorAndPressOk(int red, int green, int blue);
DialogDriver::Answer JustCancel();

}  // namespace kovar3::test
