// Ops members that change the machine or measure on it: drives and the computer name, logoff
// and shutdown, clipboard, timer and sound.
#include "component/ops.h"
#include "platform/member.h"
#include "platform/params.h"
#include "system/clipboard.h"
#include "system/drives.h"
#include "system/shutdown.h"
#include "system/sound.h"
#include "system/stopwatch.h"

namespace kovar3 {

// The fixed drives with total and free megabytes; "" when none qualifies or on any error,
// even after some entries were collected.
HRESULT Ops::GetDriveInfo(VARIANT* result)
{
    return RunMember(
        result, [&] { return Variant::Text(system::FixedDriveList(file_system_)); },
        [] { return Variant::Text(""); });
}

HRESULT Ops::ChangeDriveName(VARIANT* vDriveLetter, VARIANT* vNewName, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string drive = ReadParamText(vDriveLetter);
            const std::string name = ReadParamText(vNewName);
            return Variant::I2(system::ChangeDriveLabel(file_system_, drive, name));
        },
        [] { return Variant::I2(1); });
}

HRESULT Ops::ChangeCompName(VARIANT* vNewName, VARIANT* result)
{
    return RunMember(
        result, [&] { return Variant::I2(system::ChangeComputerName(ReadParamText(vNewName))); },
        [] { return Variant::I2(1); });
}

// The mode is converted before the trap: a mode that is not a 16-bit number is the caller's
// error, and nothing happens. After that every error ends the member silently.
HRESULT Ops::ExitWin(VARIANT* vExitMode)
{
    short mode = 0;
    const HRESULT hr = RunBeforeTrap(L"Ops:ExitWin", nullptr, [&] {
        mode = ReadParamI2(vExitMode);
        return S_OK;
    });
    if (FAILED(hr)) return hr;
    system::ExitWindowsByMode(mode);
    return S_OK;
}

HRESULT Ops::SendTextCB(VARIANT* vText, VARIANT* result)
{
    return RunMember(
        result, [&] { return Variant::I2(system::SendClipboardText(ReadParamText(vText))); },
        [] { return Variant::I2(2); });
}

// vText is only an output: the clipboard's text, or "" with status 1 or 2.
HRESULT Ops::GetTextCB(VARIANT* vText, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const system::ClipboardText clipboard = system::GetClipboardText();
            WriteOutput(vText, Variant::Text(clipboard.text));
            return Variant::I2(clipboard.status);
        },
        [&] {
            WriteOutputNoThrow(vText, Variant::Text(""));
            return Variant::I2(2);
        });
}

// No trap: nothing in here can fail.
HRESULT Ops::TimerStart()
{
    system::StartTimer();
    return S_OK;
}

// Elapsed milliseconds as a 32-bit integer; the 16-bit 0 when the timer was not running.
HRESULT Ops::TimerStop(VARIANT* result)
{
    return RunMember(
        result,
        [] {
            const std::optional<long> elapsed = system::StopTimer();
            return elapsed ? Variant::I4(*elapsed) : Variant::I2(0);
        },
        [] { return Variant::I2(0); });
}

HRESULT Ops::PlayWav(VARIANT* vFilePath)
{
    return RunMember(
        nullptr,
        [&] {
            system::PlayWaveFile(file_system_, ReadParamText(vFilePath));
            return Variant();
        },
        [] { return Variant(); });
}

}  // namespace kovar3
