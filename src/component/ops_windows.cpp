// Ops members for windows, processes and the shell: window titles and activation, the process
// list, the program that opens a file type, printing through it.
#include "component/ops.h"
#include "component/pending.h"

namespace kovar3 {

using pending::FailWith;
using pending::NoText;
using pending::Status;

HRESULT Ops::GetOpenWindowTitles(VARIANT* vTitles, VARIANT* result)
{
    return FailWith(result, [&] {
        WriteOutputNoThrow(vTitles, Variant::Text(""));
        return Status(-1);
    });
}

HRESULT Ops::GetActiveWindowTitle(VARIANT* result) { return FailWith(result, NoText); }

HRESULT Ops::SetWindowActive(VARIANT* vTitle, VARIANT* vBoolMin, VARIANT* result)
{
    return FailWith(result, [] { return Variant::I4(1); });
}

HRESULT Ops::CloseProgram(VARIANT* vTitle, VARIANT* vForce) { return S_OK; }

HRESULT Ops::GetProcessList(VARIANT* vProcList, VARIANT* vNumberProcs, VARIANT* result)
{
    return FailWith(result, [&] {
        WriteOutputNoThrow(vProcList, Variant::Text(""));
        WriteOutputNoThrow(vNumberProcs, Variant::I2(0));
        return Status(3);
    });
}

HRESULT Ops::GetDefaultProgram(VARIANT* vExt, VARIANT* result) { return FailWith(result, NoText); }

HRESULT Ops::PrintFile(VARIANT* vFilePath, VARIANT* result)
{
    return FailWith(result, [] { return Status(-1); });
}

}  // namespace kovar3
