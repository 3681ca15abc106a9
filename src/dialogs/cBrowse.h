// The common dialogues of comdlg32, shown modally with no owner window: open one file, open
// several, save, choose a colour. One cBrowse serves one call; it keeps nothing between calls
// (no last folder, no custom colours).
//
// Every method answers the dialogue's "nothing chosen" when the user cancels, when the dialogue
// cannot be shown (no display, a record the library refuses) and when anything fails: "" for
// the file dialogues, -1 for the colour dialogue. No method throws.
#pragma once

#include <windows.h>

#include <string>

namespace kovar3::dialogs {

class cBrowse {
public:
    // `instance`: the module instance handle the dialogue records carry (the component's own).
    explicit cBrowse(HINSTANCE instance) noexcept : instance_(instance) {}

    // One existing folder's file, path must exist. `sStartDir` "" lets the dialogue choose
    // where to start. Gives the full path chosen.
    std::string DOpen(const std::string& BoxTitle, const std::string& filterNameType,
                      const std::string& filterExtensions, const std::string& sStartDir) noexcept;

    // One or more files. Gives the raw selection: a single full path, or the folder followed by
    // the chosen names, each part ended by one NUL character (the last one's NUL removed).
    std::string DOpenMulti(const std::string& BoxTitle, const std::string& filterNameType,
                           const std::string& filterExtensions,
                           const std::string& sInitDir) noexcept;

    // A name to save under, with a second file type "All files(*.*)"; `sExt` is appended to a
    // name typed without extension. No question is asked before an existing file is chosen.
    // An extension longer than 253 characters, which no file name can hold, is refused ("").
    std::string DSave(const std::string& BoxTitle, const std::string& filterNameType,
                      const std::string& filterExtensions, const std::string& sExt) noexcept;

    // The colour chosen as a colour value 0x00BBGGRR, or -1. The dialogue opens on black with
    // its custom-colour part open and sixteen black custom colours.
    long DColor() noexcept;

private:
    HINSTANCE instance_;
};

}  // namespace kovar3::dialogs
