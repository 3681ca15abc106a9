#include "support/dialog_driver.h"

#include <colordlg.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>

namespace kovar3::test {
namespace {

constexpr DWORD kMessageTimeoutMs = 5000;
constexpr DWORD kFindTimeoutMs = 30000;
// How long the call may take to return once the answer was given before the driver cancels.
constexpr DWORD kGraceMs = 30000;

// SendMessage that gives up on a window that does not answer.
LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                               &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

bool IsDialog(HWND window)
{
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return std::string(name) == "#32770";
}

struct Search {
    const char* title;
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lparam)
{
    Search& search = *reinterpret_cast<Search*>(lparam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (search.process_id && owner != search.process_id) return TRUE;
    if (!::IsWindowVisible(window) || !IsDialog(window)) return TRUE;
    if (search.title && WindowText(window) != search.title) return TRUE;
    search.found = window;
    return FALSE;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM lparam)
{
    auto& search = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lparam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.first && IsDialog(window)) search.second.push_back(window);
    return TRUE;
}

bool OfThisProcess(HWND window)
{
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    return owner == ::GetCurrentProcessId();
}

// The file-name box: an edit control, or a combo box whose edit takes the text.
HWND FileNameBox(HWND dialog)
{
    if (HWND combo = ::GetDlgItem(dialog, cmb13)) return combo;
    return ::GetDlgItem(dialog, edt1);
}

HWND FolderView(HWND dialog)
{
    HWND view = ::FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
    return view ? ::FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

}  // namespace

HWND WaitForDialog(const char* title, DWORD process_id, DWORD timeout_ms)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
    for (;;) {
        Search search{title, process_id, nullptr};
        ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (::GetTickCount64() >= deadline) return nullptr;
        ::Sleep(50);
    }
}

std::string WindowText(HWND window)
{
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::vector<std::string> FileTypes(HWND dialog)
{
    std::vector<std::string> types;
    HWND box = ::GetDlgItem(dialog, cmb1);
    if (!box) return types;
    const LRESULT count = Send(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Send(box, CB_GETLBTEXTLEN, i, 0);
        if (length < 0) break;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        const LRESULT copied = Send(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        types.push_back(text);
    }
    return types;
}

std::vector<std::string> ListedNames(HWND dialog)
{
    std::vector<std::string> names;
    HWND list = FolderView(dialog);
    if (!list || !OfThisProcess(list)) return names;
    const LRESULT count = Send(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[MAX_PATH] = {};
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        Send(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        names.emplace_back(text);
    }
    return names;
}

std::vector<std::string> WaitForListed(HWND dialog, const std::string& name, DWORD timeout_ms)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
    for (;;) {
        std::vector<std::string> names = ListedNames(dialog);
        if (std::find(names.begin(), names.end(), name) != names.end() ||
            ::GetTickCount64() >= deadline)
            return names;
        ::Sleep(50);
    }
}

bool TypeFileName(HWND dialog, const std::string& text)
{
    HWND box = FileNameBox(dialog);
    return box && Send(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) == TRUE;
}

bool TypeColor(HWND dialog, int red, int green, int blue)
{
    const std::pair<int, int> fields[] = {
        {COLOR_RED, red}, {COLOR_GREEN, green}, {COLOR_BLUE, blue}};
    for (const auto& [id, value] : fields) {
        HWND field = ::GetDlgItem(dialog, id);
        const std::string text = std::to_string(value);
        if (!field || Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != TRUE)
            return false;
    }
    return true;
}

void PressOk(HWND dialog)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
}

void PressCancel(HWND dialog)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL)));
}

void CancelAllDialogs(DWORD process_id)
{
    std::pair<DWORD, std::vector<HWND>> search{process_id, {}};
    ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    for (HWND dialog : search.second) {
        PressCancel(dialog);
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
}

DialogDriver::DialogDriver(const char* title, Answer answer)
    : title_(title ? title : ""), any_title_(title == nullptr), answer_(std::move(answer))
{
    thread_ = std::thread([this] { Run(); });
}

DialogDriver::~DialogDriver() { Finish(); }

const DialogView& DialogDriver::Finish()
{
    done_ = true;
    if (thread_.joinable()) thread_.join();
    return view_;
}

void DialogDriver::Run()
{
    const DWORD process = ::GetCurrentProcessId();
    HWND dialog = nullptr;
    const ULONGLONG find_deadline = ::GetTickCount64() + kFindTimeoutMs;
    while (!done_ && !dialog && ::GetTickCount64() < find_deadline)
        dialog = WaitForDialog(any_title_ ? nullptr : title_.c_str(), process, 100);
    if (dialog) {
        view_.found = true;
        view_.title = WindowText(dialog);
        view_.file_types = FileTypes(dialog);
        try {
            answer_(dialog, view_);
        } catch (...) {
            PressCancel(dialog);
        }
    }
    // The watchdog: whatever is still open once the grace period is over (a dialogue with
    // another title included) gets cancelled, again and again, until the call has returned.
    const ULONGLONG grace_end = ::GetTickCount64() + (dialog ? kGraceMs : 0);
    while (!done_) {
        if (::GetTickCount64() >= grace_end) CancelAllDialogs(process);
        ::Sleep(100);
    }
}

DialogDriver::Answer TypeAndPressOk(std::string name)
{
    return [name](HWND dialog, DialogView&) {
        if (TypeFileName(dialog, name)) {
            PressOk(dialog);
        } else {
            PressCancel(dialog);
        }
    };
}

DialogDriver::Answer ColorAndPressOk(int red, int green, int blue)
{
    return [=](HWND dialog, DialogView&) {
        if (TypeColor(dialog, red, green, blue)) {
            PressOk(dialog);
        } else {
            PressCancel(dialog);
        }
    };
}

DialogDriver::Answer JustCancel()
{
    return [](HWND dialog, DialogView&) { PressCancel(dialog); };
}

}  // namespace kovar3::test
