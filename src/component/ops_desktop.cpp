// Ops members for the desktop's appearance: system colours, the desktop colour, the wallpaper.
#include "component/ops.h"
#include "desktop/system_colors.h"
#include "desktop/wallpaper.h"
#include "platform/color_code.h"
#include "platform/member.h"
#include "platform/params.h"

namespace kovar3 {

// RRGGBB in upper case, or "0" for a name that is not an element and on any error.
HRESULT Ops::GetSystemColor(VARIANT* vItem, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const desktop::ColorElement* element = desktop::FindColorElement(ReadParamText(vItem));
            if (!element) return Variant::Text("0");
            return Variant::Text(ColorCodeFromValue(::GetSysColor(element->index)));
        },
        [] { return Variant::Text("0"); });
}

// 1 (unknown element, the code not read) and 2 (bad code) and 0 as 16-bit integers; what the
// element routine reports otherwise (3 SetSysColors failed, 4 key refused, 5 error) as 32-bit
// integers; 4 as a 16-bit integer for an error in the member itself.
HRESULT Ops::SetSystemColor(VARIANT* vItem, VARIANT* vHexCode, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const desktop::ColorElement* element = desktop::FindColorElement(ReadParamText(vItem));
            if (!element) return Variant::I2(1);
            const std::optional<COLORREF> color = ColorValueFromCode(ReadParamText(vHexCode));
            if (!color) return Variant::I2(2);
            const int status = desktop::SetElementColor(*element, *color);
            return status == desktop::kColorSet ? Variant::I2(0) : Variant::I4(status);
        },
        [] { return Variant::I2(4); });
}

// 0 once the code is valid, whatever SetSysColors or the key answer; 1 for a bad code; 2 on any
// error.
HRESULT Ops::SetBackColor(VARIANT* vHexCode, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::optional<COLORREF> color = ColorValueFromCode(ReadParamText(vHexCode));
            if (!color) return Variant::I2(1);
            desktop::SetDesktopColor(*color);
            return Variant::I2(0);
        },
        [] { return Variant::I2(2); });
}

// 0 set, 1 no such bitmap, 2 unknown style, 3 failed (also for any error).
HRESULT Ops::SetWallpaper(VARIANT* vFilePath, VARIANT* vStyle, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string style = ReadParamText(vStyle);
            const std::string path = ReadParamText(vFilePath);
            return Variant::I2(desktop::SetWallpaper(file_system_, path, style));
        },
        [] { return Variant::I2(3); });
}

}  // namespace kovar3
