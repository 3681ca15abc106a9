// Another program for the system tests, so that what the component does is seen from outside
// the process that did it:
//   kovar3_peer set-text <hex>           puts these bytes on the clipboard as CF_TEXT
//   kovar3_peer set-unicode <hex>        puts these UTF-16LE bytes on it as CF_UNICODETEXT
//   kovar3_peer get-text <file>          writes the CF_TEXT bytes (up to the NUL) into <file>
//   kovar3_peer hold <event> <ms>        opens the clipboard, signals the named event, keeps
//                                        the clipboard open for <ms> milliseconds
//   kovar3_peer witness <file> <seconds> shows a window and writes "ready", then a line for
//                                        each WM_QUERYENDSESSION and WM_ENDSESSION it gets;
//                                        gives up after <seconds>
// Exit code 0 on success, 1 when the clipboard holds no text (get-text), 2 on failure.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string FromHex(const char* hex)
{
    std::string bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        const char pair[3] = {hex[i], hex[i + 1], 0};
        bytes += static_cast<char>(std::strtoul(pair, nullptr, 16));
    }
    return bytes;
}

// Opened for a window: Wine keeps two openers apart only when they name windows.
bool OpenClipboardPatiently()
{
    static const HWND window =
        ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (int attempt = 0; attempt < 250; ++attempt) {
        if (::OpenClipboard(window)) return true;
        ::Sleep(20);
    }
    return false;
}

int SetData(UINT format, const std::string& bytes, size_t terminator)
{
    if (!OpenClipboardPatiently()) return 2;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + terminator);
    char* data = static_cast<char*>(::GlobalLock(memory));
    std::memcpy(data, bytes.data(), bytes.size());
    std::memset(data + bytes.size(), 0, terminator);
    ::GlobalUnlock(memory);
    const bool set = ::SetClipboardData(format, memory) != nullptr;
    ::CloseClipboard();
    return set ? 0 : 2;
}

int GetText(const char* file)
{
    if (!::IsClipboardFormatAvailable(CF_TEXT)) return 1;
    if (!OpenClipboardPatiently()) return 2;
    int status = 2;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        const char* text = static_cast<const char*>(::GlobalLock(data));
        const size_t size = ::GlobalSize(data);
        const void* nul = std::memchr(text, 0, size);
        const size_t length = nul ? static_cast<const char*>(nul) - text : size;
        if (FILE* out = std::fopen(file, "wb")) {
            std::fwrite(text, 1, length, out);
            std::fclose(out);
            status = 0;
        }
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return status;
}

int Hold(const char* event_name, DWORD ms)
{
    if (!OpenClipboardPatiently()) return 2;
    HANDLE event = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, event_name);
    if (event) ::SetEvent(event);
    ::Sleep(ms);
    ::CloseClipboard();
    if (event) ::CloseHandle(event);
    return event ? 0 : 2;
}

FILE* g_log = nullptr;

void Note(const char* line)
{
    std::fputs(line, g_log);
    std::fputc('\n', g_log);
    std::fflush(g_log);
}

LRESULT CALLBACK WitnessProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_QUERYENDSESSION: Note("query-end-session"); return TRUE;
    case WM_ENDSESSION:
        Note(wparam ? "end-session" : "end-session cancelled");
        if (wparam) ::PostQuitMessage(0);
        return 0;
    default: return ::DefWindowProcA(window, message, wparam, lparam);
    }
}

int Witness(const char* file, UINT seconds)
{
    g_log = std::fopen(file, "wb");
    if (!g_log) return 2;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = WitnessProc;
    window_class.hInstance = ::GetModuleHandleA(nullptr);
    window_class.lpszClassName = "Kovar3EndSessionWitness";
    ::RegisterClassA(&window_class);
    const HWND window =
        ::CreateWindowExA(0, window_class.lpszClassName, "Kovar3 witness", WS_OVERLAPPEDWINDOW, 0,
                          0, 200, 100, nullptr, nullptr, window_class.hInstance, nullptr);
    if (!window) return 2;
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::SetTimer(window, 1, seconds * 1000, nullptr);
    Note("ready");
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == window) {
            Note("timeout");
            break;
        }
        ::DispatchMessageA(&message);
    }
    ::DestroyWindow(window);
    std::fclose(g_log);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "set-text" && argc == 3) return SetData(CF_TEXT, FromHex(argv[2]), 1);
    if (command == "set-unicode" && argc == 3) return SetData(CF_UNICODETEXT, FromHex(argv[2]), 2);
    if (command == "get-text" && argc == 3) return GetText(argv[2]);
    if (command == "hold" && argc == 4) return Hold(argv[2], std::strtoul(argv[3], nullptr, 10));
    if (command == "witness" && argc == 4)
        return Witness(argv[2], std::strtoul(argv[3], nullptr, 10));
    std::fprintf(stderr, "usage: see the top of kovar3_peer.cpp\n");
    return 2;
}
