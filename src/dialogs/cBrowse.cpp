#include "dialogs/cBrowse.h"

#include <commdlg.h>

#include <cstddef>
#include <optional>

#include "platform/text.h"

namespace kovar3::dialogs {
namespace {

// A chosen path can be as long as the longest path Windows accepts; a buffer that is too short
// makes the dialogue fail after the user has chosen, which would read as a cancel.
constexpr size_t kPathChars = 32768;
// A multiple selection holds the folder and every chosen name. A megabyte holds tens of
// thousands of ordinary names, far more than a user selects in one go.
constexpr size_t kSelectionChars = size_t{1} << 20;

// A file name has at most 255 characters; one goes to the name and one to the dot, so a
// longer extension can never be appended. Wine's save dialogue appends it to a path buffer of
// 260 characters without checking and corrupts its heap, so such an extension is refused.
constexpr size_t kLongestExtension = 253;

#ifndef _WIN64
// The classic 32-bit records: 76 bytes without the later extension fields, and 36.
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76);
static_assert(sizeof(CHOOSECOLORA) == 36);
#endif

constexpr DWORD kOpenFlags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kOpenMultiFlags = kOpenFlags | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
// No OFN_OVERWRITEPROMPT: choosing an existing file simply returns its path.
constexpr DWORD kSaveFlags = OFN_HIDEREADONLY;

struct FilterEntry {
    const std::string& name;
    const std::string& pattern;
};

// The platform's filter list: each name and pattern followed by one NUL, and one more NUL at
// the end. A part holding a NUL of its own would end the list early or add entries nobody
// asked for, so such a list is not built.
std::optional<std::string> FilterList(std::initializer_list<FilterEntry> types)
{
    std::string list;
    for (const FilterEntry& type : types) {
        for (const std::string* part : {&type.name, &type.pattern}) {
            if (part->find('\0') != std::string::npos) return std::nullopt;
            list += *part;
            list += '\0';
        }
    }
    list += '\0';
    return list;
}

enum class Kind { kOpen, kSave };

struct FileDialog {
    Kind kind;
    DWORD flags;
    size_t buffer_chars;
    const std::string& title;
    const std::string* initial_dir;  // passed on only when not empty
    const std::string* default_ext;
};

// Shows the dialogue; gives the whole file buffer when the user chose, nothing when the user
// cancelled, the dialogue failed or the file types cannot be listed.
std::optional<std::string> Show(const FileDialog& dialog, std::initializer_list<FilterEntry> types,
                                HINSTANCE instance)
{
    const std::optional<std::string> filter = FilterList(types);
    if (!filter) return std::nullopt;
    std::string buffer(dialog.buffer_chars, '\0');
    OPENFILENAMEA record = {};
    // The record without the fields later systems added, in this architecture's layout.
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = nullptr;
    record.hInstance = instance;
    record.lpstrFilter = filter->c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = buffer.data();
    // One character short of the buffer, so the text always ends in NUL characters.
    record.nMaxFile = static_cast<DWORD>(buffer.size() - 1);
    record.lpstrTitle = dialog.title.c_str();
    if (dialog.initial_dir && !dialog.initial_dir->empty())
        record.lpstrInitialDir = dialog.initial_dir->c_str();
    if (dialog.default_ext) record.lpstrDefExt = dialog.default_ext->c_str();
    record.Flags = dialog.flags;
    const BOOL chosen =
        dialog.kind == Kind::kOpen ? ::GetOpenFileNameA(&record) : ::GetSaveFileNameA(&record);
    if (!chosen) return std::nullopt;
    return buffer;
}

// The path a single-file dialogue chose: the buffer's text before its first NUL.
std::string ChosenPath(const std::optional<std::string>& buffer)
{
    return buffer ? CutAtNul(buffer->data(), buffer->size()) : std::string();
}

// What a multiple-selection dialogue chose: the buffer up to its first pair of NULs.
std::string ChosenSelection(std::optional<std::string> buffer)
{
    if (!buffer) return {};
    buffer->resize(buffer->find(std::string(2, '\0')));
    return std::move(*buffer);
}

// The answer of `choose`, or "" when it throws (a buffer that cannot be allocated).
template <typename Choose>
std::string NothingOnError(Choose&& choose) noexcept
{
    try {
        return choose();
    } catch (...) {
        return {};
    }
}

// The colour dialogue's hook: notes that the dialogue really opened and leaves everything else
// to the dialogue. Wine's ChooseColorA answers "chosen" with the initial colour when no dialogue
// could be made (no display), so an answer counts only after the dialogue was shown.
UINT_PTR CALLBACK NoteShown(HWND, UINT message, WPARAM, LPARAM lparam)
{
    if (message != WM_INITDIALOG) return 0;
    const auto* record = reinterpret_cast<const CHOOSECOLORA*>(lparam);
    *reinterpret_cast<bool*>(record->lCustData) = true;
    return TRUE;  // the dialogue sets the focus itself
}

}  // namespace

std::string cBrowse::DOpen(const std::string& BoxTitle, const std::string& filterNameType,
                           const std::string& filterExtensions,
                           const std::string& sStartDir) noexcept
{
    return NothingOnError([&] {
        const FileDialog open = {Kind::kOpen, kOpenFlags, kPathChars,
                                 BoxTitle,    &sStartDir, nullptr};
        return ChosenPath(Show(open, {{filterNameType, filterExtensions}}, instance_));
    });
}

std::string cBrowse::DOpenMulti(const std::string& BoxTitle, const std::string& filterNameType,
                                const std::string& filterExtensions,
                                const std::string& sInitDir) noexcept
{
    return NothingOnError([&] {
        const FileDialog open = {Kind::kOpen, kOpenMultiFlags, kSelectionChars,
                                 BoxTitle,    &sInitDir,       nullptr};
        return ChosenSelection(Show(open, {{filterNameType, filterExtensions}}, instance_));
    });
}

std::string cBrowse::DSave(const std::string& BoxTitle, const std::string& filterNameType,
                           const std::string& filterExtensions, const std::string& sExt) noexcept
{
    return NothingOnError([&] {
        // The dialogue appends the extension of the first pattern ("*.ext") or else sExt.
        if (FromAnsi(sExt).size() > kLongestExtension ||
            FromAnsi(filterExtensions).size() > kLongestExtension + 2)
            return std::string();
        const std::string all_name = "All files(*.*)";
        const std::string all_pattern = "*.*";
        const FileDialog save = {Kind::kSave, kSaveFlags, kPathChars, BoxTitle, nullptr, &sExt};
        return ChosenPath(
            Show(save, {{filterNameType, filterExtensions}, {all_name, all_pattern}}, instance_));
    });
}

long cBrowse::DColor() noexcept
{
    COLORREF custom[16] = {};  // sixteen black custom colours, new for every call
    bool shown = false;
    CHOOSECOLORA record = {};
    record.lStructSize = sizeof(record);
    record.hwndOwner = nullptr;
    // The header declares this field as a window handle; it carries the module instance.
    record.hInstance = reinterpret_cast<HWND>(instance_);
    record.rgbResult = RGB(0, 0, 0);
    record.lpCustColors = custom;
    record.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
    record.lCustData = reinterpret_cast<LPARAM>(&shown);
    record.lpfnHook = NoteShown;
    if (!::ChooseColorA(&record) || !shown) return -1;
    return static_cast<long>(record.rgbResult);
}

}  // namespace kovar3::dialogs
