// Plain text on the clipboard, in the ANSI text format (CF_TEXT), the only format read or
// written here. Text another program put on the clipboard as Unicode text arrives too: the
// platform offers every text in both formats.
#pragma once

#include <string>

namespace kovar3::system {

// Empties the clipboard and places `text` on it: 0 when done; 1 for "", with the clipboard
// left as it was; 2 when the clipboard could not be opened or written (another program held
// it longer than a few short retries), or for a text with a NUL character in it, which the
// format cannot carry.
short SendClipboardText(const std::string& text);

struct ClipboardText {
    short status;      // 0 read; 1 no text on the clipboard; 2 the clipboard could not be read
    std::string text;  // ANSI bytes up to the first NUL; "" unless status is 0
};

// The clipboard's text, of any length.
ClipboardText GetClipboardText();

}  // namespace kovar3::system
