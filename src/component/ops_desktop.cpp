// Ops members for the desktop's appearance: system colours, the desktop colour, the wallpaper.
#include "component/ops.h"
#include "component/pending.h"

namespace kovar3 {

using pending::FailWith;
using pending::Status;

HRESULT Ops::GetSystemColor(VARIANT* vItem, VARIANT* result)
{
    return FailWith(result, [] { return Variant::Text("0"); });
}

HRESULT Ops::SetSystemColor(VARIANT* vItem, VARIANT* vHexCode, VARIANT* result)
{
    return FailWith(result, [] { return Status(4); });
}

HRESULT Ops::SetBackColor(VARIANT* vHexCode, VARIANT* result)
{
    return FailWith(result, [] { return Status(2); });
}

HRESULT Ops::SetWallpaper(VARIANT* vFilePath, VARIANT* vStyle, VARIANT* result)
{
    return FailWith(result, [] { return Status(3); });
}

}  // namespace kovar3
