#include "desktop/system_colors.h"

#include "platform/registry_text.h"
#include "platform/text.h"
#include "platform/unique.h"

namespace kovar3::desktop {
namespace {

constexpr char kColorsKey[] = "Control Panel\\Colors";

// Writes the colour's text under `value_name`; false when the key cannot be opened. The write
// itself is not checked: the key was opened for setting values.
bool RecordColor(const char* value_name, COLORREF value)
{
    const std::string text = RegistryColorText(value);
    RegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kColorsKey, 0, KEY_SET_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return false;
    WriteRegText(key.get(), value_name, text);
    return true;
}

bool ApplyColor(int index, COLORREF value)
{
    const INT elements[1] = {index};
    const COLORREF values[1] = {value};
    return ::SetSysColors(1, elements, values) != 0;
}

}  // namespace

// The "2" rows are the second colour of a gradient caption; "GradientInActiveTitle" is spelled
// so in every profile.
const ColorElement kColorElements[16] = {
    {"TitleBar", COLOR_ACTIVECAPTION, "ActiveTitle"},
    {"TitleBar2", COLOR_GRADIENTACTIVECAPTION, "GradientActiveTitle"},
    {"TitleBarText", COLOR_CAPTIONTEXT, "TitleText"},
    {"InactiveTitleBar", COLOR_INACTIVECAPTION, "InactiveTitle"},
    {"InactiveTitleBar2", COLOR_GRADIENTINACTIVECAPTION, "GradientInActiveTitle"},
    {"InactiveTitleBarText", COLOR_INACTIVECAPTIONTEXT, "InactiveTitleText"},
    {"Buttons", COLOR_BTNFACE, "ButtonFace"},
    {"Scrollbars", COLOR_SCROLLBAR, "Scrollbar"},
    {"Desktop", COLOR_BACKGROUND, "Background"},
    {"ButtonText", COLOR_BTNTEXT, "ButtonText"},
    {"Selection", COLOR_HIGHLIGHT, "Hilight"},
    {"SelText", COLOR_HIGHLIGHTTEXT, "HilightText"},
    {"Menu", COLOR_MENU, "Menu"},
    {"MenuText", COLOR_MENUTEXT, "MenuText"},
    {"WindowBackground", COLOR_WINDOW, "Window"},
    {"WindowBackText", COLOR_WINDOWTEXT, "WindowText"},
};

const ColorElement* FindColorElement(const std::string& name)
{
    const std::string wanted = UpperAscii(name);
    for (const ColorElement& element : kColorElements) {
        if (wanted == UpperAscii(element.name)) return &element;
    }
    return nullptr;
}

std::string RegistryColorText(COLORREF value)
{
    return std::to_string(GetRValue(value)) + " " + std::to_string(GetGValue(value)) + " " +
           std::to_string(GetBValue(value));
}

int SetElementColor(const ColorElement& element, COLORREF value) noexcept
{
    try {
        if (!ApplyColor(element.index, value)) return kSetSysColorsFailed;
        return RecordColor(element.value_name, value) ? kColorSet : kColorsKeyRefused;
    } catch (...) {
        return kElementColorError;
    }
}

void SetDesktopColor(COLORREF value)
{
    const ColorElement& desktop = *FindColorElement("Desktop");
    ApplyColor(desktop.index, value);
    RecordColor(desktop.value_name, value);
}

}  // namespace kovar3::desktop
