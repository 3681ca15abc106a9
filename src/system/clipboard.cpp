#include "system/clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/text.h"
#include "platform/unique.h"

namespace kovar3::system {
namespace {

// Another program may hold the clipboard open for a moment (clipboard viewers and managers
// do, after every change): a few short retries before giving up.
constexpr int kOpenAttempts = 10;
constexpr DWORD kRetryPauseMs = 30;

struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::GlobalFree(h); }
};
using GlobalMemory = Unique<GlobalMemoryTraits>;  // owned until the clipboard takes it

// The clipboard, open for this thread from construction to destruction. It is opened for a
// message-only window of its own: the clipboard then has an owner when text is placed on it,
// and Wine keeps two openers apart only when they name windows.
class ClipboardSession {
public:
    ClipboardSession() noexcept
        : window_(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                    nullptr))
    {
        // Without a window (no desktop to create one on) the clipboard is opened for none.
        for (int attempt = 0; attempt < kOpenAttempts && !open_; ++attempt) {
            if (attempt > 0) ::Sleep(kRetryPauseMs);
            open_ = ::OpenClipboard(window_) != FALSE;
        }
    }
    ~ClipboardSession()
    {
        if (open_) ::CloseClipboard();
        if (window_) ::DestroyWindow(window_);
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool is_open() const noexcept { return open_; }

private:
    HWND window_;
    bool open_ = false;
};

// A global memory block, locked from construction to destruction.
class GlobalLockSpan {
public:
    explicit GlobalLockSpan(HGLOBAL memory) noexcept
        : memory_(memory),
          data_(static_cast<char*>(::GlobalLock(memory))),
          size_(data_ ? ::GlobalSize(memory) : 0)
    {
    }
    ~GlobalLockSpan()
    {
        if (data_) ::GlobalUnlock(memory_);
    }
    GlobalLockSpan(const GlobalLockSpan&) = delete;
    GlobalLockSpan& operator=(const GlobalLockSpan&) = delete;

    char* data() const noexcept { return data_; }
    size_t size() const noexcept { return size_; }

private:
    HGLOBAL memory_;
    char* data_;
    size_t size_;
};

}  // namespace

short SendClipboardText(const std::string& text)
{
    if (text.empty()) return 1;
    if (text.find('\0') != std::string::npos) return 2;
    // The copy is made before the clipboard is touched, so a failure here leaves it alone.
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) return 2;
    {
        const GlobalLockSpan span(memory.get());
        if (!span.data()) return 2;
        std::memcpy(span.data(), text.c_str(), text.size() + 1);
    }
    const ClipboardSession clipboard;
    if (!clipboard.is_open() || !::EmptyClipboard()) return 2;
    if (!::SetClipboardData(CF_TEXT, memory.get())) return 2;
    memory.release();  // the clipboard owns it now
    return 0;
}

ClipboardText GetClipboardText()
{
    if (!::IsClipboardFormatAvailable(CF_TEXT)) return {1, ""};
    const ClipboardSession clipboard;
    if (!clipboard.is_open()) return {2, ""};
    // Checked again while the clipboard is ours: another program may have emptied it.
    if (!::IsClipboardFormatAvailable(CF_TEXT)) return {1, ""};
    const HANDLE data = ::GetClipboardData(CF_TEXT);
    if (!data) return {2, ""};
    const GlobalLockSpan span(data);
    if (!span.data()) return {2, ""};
    // Up to the first NUL, and never past the block: a program may leave the terminator out.
    return {0, CutAtNul(span.data(), span.size())};
}

}  // namespace kovar3::system
