// What the Ops dialogue members ask of cBrowse, prepared from a script's arguments, and how
// a multiple selection reaches the script.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace kovar3::dialogs {

// The title shown when the script gives none.
inline constexpr char kOpenTitle[] = "Open File";       // OpenDlg
inline constexpr char kSelectTitle[] = "Select Files";  // OpenMultiDlg and SaveDlg

// The file type a dialogue lists first: its display name and its pattern.
struct FileType {
    std::string name;
    std::string pattern;
};

// `title`, or `default_title` when it is empty.
std::string TitleOr(const std::string& title, const char* default_title);

// For an extension e: "e Files(*.e)" with the pattern "*.e", e used as given (".txt" gives
// ".txt Files(*..txt)" and "*..txt"). With no extension the open dialogues list
// "All Files(*.*)" and the save dialogue "Text Files(*.txt)".
FileType OpenFileType(const std::string& ext);
FileType SaveFileType(const std::string& ext);

// The extension the save dialogue appends to a name typed without one: `ext`, or "txt".
std::string SaveDefaultExtension(const std::string& ext);

// The folder an open dialogue starts in: `folder` when it names an existing folder, else ""
// (a file, a missing folder: the dialogue chooses where to start).
std::string StartingFolder(const std::string& folder, const FileSystem& file_system);

// A raw multiple selection turned into full paths joined by "*": "" stays "", a single path is
// kept, "folder NUL name1 NUL name2" gives "folder\name1*folder\name2". One backslash joins
// the folder and each name, none is added after a folder that already ends in one ("C:\").
std::string JoinSelection(const std::string& raw);

}  // namespace kovar3::dialogs
