// Ops members whose work is not built yet. Each answers with its own failure result and
// writes its failure outputs, so a client can already call every member by name.
#include <string>

#include "component/ops.h"
#include "component/platform/errors.h"
#include "component/platform/member.h"
#include "component/platform/params.h"

namespace kovar3 {
namespace {

// A member without outputs that always takes its failure path.
template <typename Make>
HRESULT FailWith(VARIANT* result, Make make)
{
    return RunMember(result, make, make);
}

Variant NotDoneI2(short status) { return Variant::I2(status); }
Variant NoText() { return Variant::Text(""); }

}  // namespace

HRESULT Ops::SendTextCB(VARIANT* vText, VARIANT* result) { return FailWith(result, [] { return NotDoneI2(2); }); }

HRESULT Ops::GetTextCB(VARIANT* vText, VARIANT* result)
{
    return FailWith(result, [&] {
        WriteOutputNoThrow(vText, Variant::Text(""));
        return NotDoneI2(2);
    });
}

HRESULT Ops::ExitWin(VARIANT* vExitMode)
{
    // The mode is converted before the trap: a mode that is not a 16-bit number is the
    // caller's error.
    try {
        ReadParamI2(vExitMode);
    } catch (const ConversionError& e) {
        return RaiseConversionError(e, L"Ops:ExitWin");
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT Ops::ChangeCompName(VARIANT* vNewName, VARIANT* result) { return FailWith(result, [] { return NotDoneI2(1); }); }
HRESULT Ops::ChangeDriveName(VARIANT* vDriveLetter, VARIANT* vNewName, VARIANT* result) { return FailWith(result, [] { return NotDoneI2(1); }); }
HRESULT Ops::GetDriveInfo(VARIANT* result) { return FailWith(result, NoText); }
HRESULT Ops::PlayWav(VARIANT* vFilePath) { return S_OK; }
HRESULT Ops::SetWallpaper(VARIANT* vFilePath, VARIANT* vStyle, VARIANT* result) { return FailWith(result, [] { return NotDoneI2(3); }); }
HRESULT Ops::SetSystemColor(VARIANT* vItem, VARIANT* vHexCode, VARIANT* result) { return FailWith(result, [] { return NotDoneI2(4); }); }
HRESULT Ops::SetBackColor(VARIANT* vHexCode, VARIANT* result) { return FailWith(result, [] { return NotDoneI2(2); }); }
HRESULT Ops::TimerStart() { return S_OK; }
HRESULT Ops::TimerStop(VARIANT* result) { return FailWith(result, [] { return NotDoneI2(0); }); }
HRESULT Ops::GetSystemColor(VARIANT* vItem, VARIANT* result) { return FailWith(result, [] { return Variant::Text("0"); }); }

HRESULT Ops::GetProcessList(VARIANT* vProcList, VARIANT* vNumberProcs, VARIANT* result)
{
    return FailWith(result, [&] {
        WriteOutputNoThrow(vProcList, Variant::Text(""));
        WriteOutputNoThrow(vNumberProcs, Variant::I2(0));
        return NotDoneI2(3);
    });
}

HRESULT Ops::GetOpenWindowTitles(VARIANT* vTitles, VARIANT* result)
{
    return FailWith(result, [&] {
        WriteOutputNoThrow(vTitles, Variant::Text(""));
        return NotDoneI2(-1);
    });
}

HRESULT Ops::GetActiveWindowTitle(VARIANT* result) { return FailWith(result, NoText); }
HRESULT Ops::SetWindowActive(VARIANT* vTitle, VARIANT* vBoolMin, VARIANT* result) { return FailWith(result, [] { return Variant::I4(1); }); }
HRESULT Ops::CloseProgram(VARIANT* vTitle, VARIANT* vForce) { return S_OK; }
HRESULT Ops::GetDefaultProgram(VARIANT* vExt, VARIANT* result) { return FailWith(result, NoText); }
HRESULT Ops::PrintFile(VARIANT* vFilePath, VARIANT* result) { return FailWith(result, [] { return NotDoneI2(-1); }); }
HRESULT Ops::ColorDlg(VARIANT* result) { return FailWith(result, [] { return Variant::Text("0"); }); }
HRESULT Ops::OpenDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir, VARIANT* result) { return FailWith(result, NoText); }
HRESULT Ops::OpenMultiDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir, VARIANT* result) { return FailWith(result, NoText); }
HRESULT Ops::SaveDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* result) { return FailWith(result, NoText); }

}  // namespace kovar3
