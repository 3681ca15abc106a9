// Ops members that show the common dialogues: open, open several, save, colour.
#include "component/ops.h"
#include "component/pending.h"

namespace kovar3 {

using pending::FailWith;
using pending::NoText;

HRESULT Ops::OpenDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir, VARIANT* result)
{
    return FailWith(result, NoText);
}

HRESULT Ops::OpenMultiDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir, VARIANT* result)
{
    return FailWith(result, NoText);
}

HRESULT Ops::SaveDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* result)
{
    return FailWith(result, NoText);
}

HRESULT Ops::ColorDlg(VARIANT* result)
{
    return FailWith(result, [] { return Variant::Text("0"); });
}

}  // namespace kovar3
