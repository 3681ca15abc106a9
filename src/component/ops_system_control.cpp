// Ops members that change the machine or measure on it: drives and the computer name, logoff
// and shutdown, clipboard, timer and sound.
#include "component/ops.h"
#include "component/pending.h"
#include "platform/member.h"
#include "platform/params.h"

namespace kovar3 {

using pending::FailWith;
using pending::NoText;
using pending::Status;

HRESULT Ops::GetDriveInfo(VARIANT* result) { return FailWith(result, NoText); }

HRESULT Ops::ChangeDriveName(VARIANT* vDriveLetter, VARIANT* vNewName, VARIANT* result)
{
    return FailWith(result, [] { return Status(1); });
}

HRESULT Ops::ChangeCompName(VARIANT* vNewName, VARIANT* result)
{
    return FailWith(result, [] { return Status(1); });
}

// The mode is converted before the trap: a mode that is not a 16-bit number is the caller's
// error.
HRESULT Ops::ExitWin(VARIANT* vExitMode)
{
    return RunBeforeTrap(L"Ops:ExitWin", nullptr, [&] {
        ReadParamI2(vExitMode);
        return S_OK;
    });
}

HRESULT Ops::SendTextCB(VARIANT* vText, VARIANT* result)
{
    return FailWith(result, [] { return Status(2); });
}

HRESULT Ops::GetTextCB(VARIANT* vText, VARIANT* result)
{
    return FailWith(result, [&] {
        WriteOutputNoThrow(vText, Variant::Text(""));
        return Status(2);
    });
}

HRESULT Ops::TimerStart() { return S_OK; }
HRESULT Ops::TimerStop(VARIANT* result)
{
    return FailWith(result, [] { return Status(0); });
}
HRESULT Ops::PlayWav(VARIANT* vFilePath) { return S_OK; }

}  // namespace kovar3
