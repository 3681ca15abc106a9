// dialog_answer: answers a common dialogue of another program as a user would. Used by the
// script tests and by scripts/dialog_pictures.sh.
//
//   dialog_answer TITLE cancel            press Cancel
//   dialog_answer TITLE open NAME...      type the name (several: each in quotes) and press OK
//   dialog_answer TITLE color R G B       type red, green and blue and press OK
//   dialog_answer TITLE rect              print "x y width height" and leave the dialogue open
//   dialog_answer TITLE fill-name NAME... type the name(s) and leave the dialogue open
//   dialog_answer TITLE fill-color R G B  type the colour and leave the dialogue open
//
// TITLE "*" matches any dialogue. The dialogue is awaited for 60 seconds at most (exit 1 when
// none came). After pressing OK, whatever dialogue of that program is still open 30 seconds
// later is cancelled, so the program answered never stays blocked.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/dialog_driver.h"

namespace {

using namespace kovar3::test;

int Usage()
{
    std::fprintf(stderr,
                 "usage: dialog_answer TITLE cancel|open NAME...|color R G B|rect|"
                 "fill-name NAME...|fill-color R G B\n");
    return 2;
}

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

// Waits for the dialogue to close; cancels what is left of its program's dialogues if it
// does not.
void EnsureClosed(HWND dialog)
{
    const DWORD process = ProcessOf(dialog);
    for (int i = 0; i < 300 && ::IsWindow(dialog); ++i) ::Sleep(100);
    for (int i = 0; i < 50 && ::IsWindow(dialog); ++i) {
        CancelAllDialogs(process);
        ::Sleep(100);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return Usage();
    const std::string title = argv[1];
    const std::string action = argv[2];
    std::vector<std::string> rest(argv + 3, argv + argc);

    HWND dialog = WaitForDialog(title == "*" ? nullptr : title.c_str(), 0, 60000);
    if (!dialog) {
        std::fprintf(stderr, "dialog_answer: no dialogue \"%s\"\n", title.c_str());
        return 1;
    }
    if (action == "rect") {
        RECT r = {};
        ::GetWindowRect(dialog, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    const bool leave_open = action == "fill-name" || action == "fill-color";
    bool done = false;
    if ((action == "open" || action == "fill-name") && !rest.empty()) {
        std::string typed = rest[0];
        if (rest.size() > 1) {
            typed.clear();
            for (const std::string& name : rest) typed += "\"" + name + "\" ";
        }
        done = TypeFileName(dialog, typed);
    } else if ((action == "color" || action == "fill-color") && rest.size() == 3) {
        done = TypeColor(dialog, std::atoi(rest[0].c_str()), std::atoi(rest[1].c_str()),
                         std::atoi(rest[2].c_str()));
    } else if (action != "cancel") {
        PressCancel(dialog);
        return Usage();
    }
    if (leave_open) return done ? 0 : 1;
    if (done) {
        PressOk(dialog);
    } else {
        PressCancel(dialog);
    }
    EnsureClosed(dialog);
    return action == "cancel" || done ? 0 : 1;
}
