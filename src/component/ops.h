// The Ops class: the client's handle to almost every operation of the component.
//
// Each member is a thin frame (see RunMember in platform/member.h) that reads its parameters
// and calls one subsystem. The declarations below are grouped by the file that holds the
// frames, and each group names the subsystem folder the frames call. An Ops object owns one
// file-system service and one PEFile object from its creation to its destruction.
#pragma once

#include "component/dispatch_object.h"
#include "component/pe_file_class.h"
#include "kovar3_h.h"
#include "platform/file_system.h"
#include "platform/unique.h"

namespace kovar3 {

class Ops final : public DispatchObject<_Ops> {
public:
    // ops_lifecycle.cpp: resets the apartment's timer, creates the file-system service and an
    // empty PEFile, and detects the operating-system family (platform/ModKovar).
    Ops();
    ~Ops() override;

    // ops_system.cpp, over system/system_queries: machine and user facts.
    HRESULT STDMETHODCALLTYPE GetOpVersion(VARIANT* vOSVersion, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetMemory(VARIANT* vTotal, VARIANT* vInUse, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetCurUser(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetCompName(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetColorDepthBPP(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetDesktopPixels(VARIANT* vDeskWidth, VARIANT* vDeskHeight,
                                               VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetScreenPixels(VARIANT* vScreenWidth, VARIANT* vScreenHeight,
                                              VARIANT* result) override;

    // ops_system_control.cpp, over system/: drives and the computer name, logoff and
    // shutdown, clipboard, timer and sound.
    HRESULT STDMETHODCALLTYPE GetDriveInfo(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE ChangeDriveName(VARIANT* vDriveLetter, VARIANT* vNewName,
                                              VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE ChangeCompName(VARIANT* vNewName, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE ExitWin(VARIANT* vExitMode) override;
    HRESULT STDMETHODCALLTYPE SendTextCB(VARIANT* vText, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetTextCB(VARIANT* vText, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE TimerStart() override;
    HRESULT STDMETHODCALLTYPE TimerStop(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE PlayWav(VARIANT* vFilePath) override;

    // ops_registry.cpp (with registry_data.cpp for the data of values), over
    // registry/ModRegKovar, registry/ModRegVals and registry/class_lookup: values, lists,
    // deletion, class and App Paths lookups.
    HRESULT STDMETHODCALLTYPE RegGetValue(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValue,
                                          VARIANT* vData, VARIANT* vType, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE RegWriteValue(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValue,
                                            VARIANT* vData, VARIANT* vType,
                                            VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE RegListKeys(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vKeyList,
                                          VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE RegListVals(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValList,
                                          VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE RegListStringData(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValList,
                                                VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE RegDeleteVal(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValue,
                                           VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE RegDeleteSubkey(VARIANT* vKey, VARIANT* vRegPath,
                                              VARIANT* vSubKeyName, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetRegFromCLSID(VARIANT* vCLSID, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetRegFromProgID(VARIANT* vProgID, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetEXEPath(VARIANT* exeName, VARIANT* result) override;

    // ops_pefile.cpp, over pefile/ModFileInfo: the PEFile object.
    HRESULT STDMETHODCALLTYPE GetPEFile(VARIANT* vFilePath, _PEFile** result) override;

    // ops_desktop.cpp, over desktop/: system colours and the wallpaper.
    HRESULT STDMETHODCALLTYPE GetSystemColor(VARIANT* vItem, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE SetSystemColor(VARIANT* vItem, VARIANT* vHexCode,
                                             VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE SetBackColor(VARIANT* vHexCode, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE SetWallpaper(VARIANT* vFilePath, VARIANT* vStyle,
                                           VARIANT* result) override;

    // ops_windows.cpp, over windows/: window titles and activation, the process list, file
    // associations and printing.
    HRESULT STDMETHODCALLTYPE GetOpenWindowTitles(VARIANT* vTitles, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetActiveWindowTitle(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE SetWindowActive(VARIANT* vTitle, VARIANT* vBoolMin,
                                              VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE CloseProgram(VARIANT* vTitle, VARIANT* vForce) override;
    HRESULT STDMETHODCALLTYPE GetProcessList(VARIANT* vProcList, VARIANT* vNumberProcs,
                                             VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetDefaultProgram(VARIANT* vExt, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE PrintFile(VARIANT* vFilePath, VARIANT* result) override;

    // ops_dialogs.cpp, over dialogs/: the common dialogues.
    HRESULT STDMETHODCALLTYPE OpenDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir,
                                      VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE OpenMultiDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir,
                                           VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE SaveDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE ColorDlg(VARIANT* result) override;

private:
    FileSystem file_system_;
    ComPtr<PEFile> pe_file_;  // one reference, held for the object's whole life
};

}  // namespace kovar3
