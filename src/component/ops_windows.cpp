// Ops members for windows, processes and the shell: window titles and activation, the process
// list, the program that opens a file type, printing through it.
#include <string>

#include "component/ops.h"
#include "platform/ModKovar.h"
#include "platform/member.h"
#include "platform/params.h"
#include "platform/safearray.h"
#include "windows/ModPrintnMB.h"
#include "windows/ModWindows.h"
#include "windows/cEnumProc.h"
#include "windows/file_associations.h"

namespace kovar3 {
namespace {

// A parameter read by a member that goes on past every error: one that cannot be converted
// gives `fallback`.
template <typename T, typename Read>
T ReadOr(T fallback, Read read) noexcept
{
    try {
        return read();
    } catch (...) {
        return fallback;
    }
}

}  // namespace

// The titles of the visible titled windows: a 32-bit count with an array of titles, or the
// 16-bit 0 (none) or -1 (failure) with "".
HRESULT Ops::GetOpenWindowTitles(VARIANT* vTitles, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const ModWindows::WindowListScope listing;
            const long listed = ModWindows::EnumTopWindows();
            if (listed < 1) {
                WriteOutput(vTitles, Variant::Text(""));
                return Variant::I2(listed < 0 ? -1 : 0);
            }
            SafeArrayBuilder titles(static_cast<size_t>(listed));
            for (const ModWindows::ListedWindow& window : ModWindows::WindowList())
                titles.Add(Variant::Text(window.title));
            WriteOutput(vTitles, titles.Build());
            return Variant::I4(listed);
        },
        [&] {
            WriteOutputNoThrow(vTitles, Variant::Text(""));
            return Variant::I2(-1);
        });
}

// No trap: the title routine answers "" for every failure of its own, and what else could go
// wrong (memory for the result) reaches the caller as an automation error.
HRESULT Ops::GetActiveWindowTitle(VARIANT* result)
{
    return RunBeforeTrap(L"Ops:GetActiveWindowTitle", result, [&] {
        Variant title = Variant::Text(ModWindows::ActiveWindowTitle());
        if (result) *result = title.release();
        return S_OK;
    });
}

// Goes on past every error: a vBoolMin that cannot be read counts as False, a vTitle as "".
// The status is 32-bit on every path.
HRESULT Ops::SetWindowActive(VARIANT* vTitle, VARIANT* vBoolMin, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const bool minimise = ReadOr(false, [&] { return ReadParamBool(vBoolMin); });
            const std::string title = ReadOr(std::string(), [&] { return ReadParamText(vTitle); });
            const short mode = minimise ? ModWindows::kMinimiseAllFirst : ModWindows::kActivateOnly;
            return Variant::I4(ModWindows::ActivateWindow(title, mode));
        },
        [] { return Variant::I4(ModWindows::kNothingListed); });
}

// Silent on every path: an empty title, a mode other than 1 or 2, no such window, an error.
HRESULT Ops::CloseProgram(VARIANT* vTitle, VARIANT* vForce)
{
    return RunMember(
        nullptr,
        [&] {
            const std::string title = ReadParamText(vTitle);
            const short mode = ReadParamI2(vForce);
            ModWindows::CloseWindowByTitle(title, mode);
            return Variant();
        },
        [] { return Variant(); });
}

// Both outputs are written on every path. The family and version recorded when this object
// was created decide whether the snapshot functions exist.
HRESULT Ops::GetProcessList(VARIANT* vProcList, VARIANT* vNumberProcs, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const windows::ProcessList listed =
                windows::ListProcesses(ModKovar::OsFamily, ModKovar::OsMajorVersion);
            WriteOutput(vProcList, Variant::Text(listed.names));
            WriteOutput(vNumberProcs, Variant::I2(listed.count));
            return Variant::I2(listed.status);
        },
        [&] {
            WriteOutputNoThrow(vProcList, Variant::Text(""));
            WriteOutputNoThrow(vNumberProcs, Variant::I2(0));
            return Variant::I2(windows::kListFailed);
        });
}

HRESULT Ops::GetDefaultProgram(VARIANT* vExt, VARIANT* result)
{
    return RunMember(
        result, [&] { return Variant::Text(windows::DefaultProgram(ReadParamText(vExt))); },
        [] { return Variant::Text(""); });
}

// 0 accepted, 2 no such file, -1 an error (all 16-bit); the shell's refusal as its 32-bit code.
HRESULT Ops::PrintFile(VARIANT* vFilePath, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string file = ReadParamText(vFilePath);
            if (!file_system_.FileExists(file)) return Variant::I2(2);
            // A file in a root folder gets "C:\", with its backslash: "C:" alone would mean the
            // drive's current folder.
            const std::string directory = file_system_.GetParentFolderPath(file);
            // The shell reads a relative name against the folder it starts the program in, which
            // would turn "docs\a.txt" into docs\docs\a.txt: it gets the full path.
            const std::string full_path = file_system_.GetAbsolutePathName(file);
            const long code = ModPrintnMB::PrintWithShell(directory, full_path);
            return code == 0 ? Variant::I2(0) : Variant::I4(code);
        },
        [] { return Variant::I2(-1); });
}

}  // namespace kovar3
