// The colours of the window elements: the table of elements a script names, setting one
// element's colour at once and in the user's profile (HKCU\Control Panel\Colors), setting the
// desktop colour, reading a colour.
#pragma once

#include <windows.h>

#include <string>

namespace kovar3::desktop {

struct ColorElement {
    const char* name;        // what a script calls it, matched without regard to case
    int index;               // the system colour index (COLOR_ACTIVECAPTION, ...)
    const char* value_name;  // its value under HKCU\Control Panel\Colors
};

// The sixteen elements, in the order a name is looked up.
extern const ColorElement kColorElements[16];

// The element a script names (ASCII letters compared without regard to case), or null.
const ColorElement* FindColorElement(const std::string& name);

// The profile's text for a colour: red, green and blue in decimal, separated by one blank
// ("255 128 0").
std::string RegistryColorText(COLORREF value);

// What SetElementColor reports.
enum ElementColorStatus : int {
    kColorSet = 0,            // set at once and recorded in the profile
    kSetSysColorsFailed = 3,  // nothing changed
    kColorsKeyRefused = 4,    // set at once, but the profile's key could not be opened
    kElementColorError = 5,   // an error was raised on the way (out of memory)
};

// Sets one element's colour with SetSysColors and, only when that succeeded, writes its text
// under the element's value name. Never throws.
int SetElementColor(const ColorElement& element, COLORREF value) noexcept;

// Sets the desktop colour (COLOR_BACKGROUND) and writes "Background" whatever SetSysColors
// answered; a key that cannot be opened is not reported. Throws only for an allocation
// failure.
void SetDesktopColor(COLORREF value);

}  // namespace kovar3::desktop
