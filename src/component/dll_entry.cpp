// Exports of kovar3.dll. Loading and unloading do no work of the component's own.
#include <windows.h>

#include "component/self_registration.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return kovar3::GetClassObject(clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return kovar3::CanUnloadNow(); }

STDAPI DllRegisterServer() { return kovar3::RegisterServer(); }

STDAPI DllUnregisterServer() { return kovar3::UnregisterServer(); }

// regsvr32 /n /i:user registers for the current user only; regsvr32 /u /n /i:user removes that.
STDAPI DllInstall(BOOL install, LPCWSTR command_line)
{
    return kovar3::InstallServer(install != FALSE, command_line);
}

}  // extern "C"
