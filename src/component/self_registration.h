// The entry points of the in-process server, as plain functions; the DLL exports them. And the
// registration they write: for the machine (regsvr32) or for the current user only
// (regsvr32 /n /i:user), each in the registry view of the build that writes it.
#pragma once

#include <windows.h>

#include <string>

namespace kovar3 {

// HKEY_LOCAL_MACHINE\Software\Classes, for every user (needs an administrator), or
// HKEY_CURRENT_USER\Software\Classes, for the user who registers (needs no elevation).
enum class RegistrationScope { kMachine, kUser };

// On 64-bit Windows each build has its own CLSID and Interface keys (the 32-bit ones below
// Wow6432Node), while the ProgID keys and the TypeLib key are shared: the type library keeps one
// win32 and one win64 entry below its version key. Both builds can be registered at once.
enum class RegistryView { k32, k64 };
#ifdef _WIN64
constexpr RegistryView kOwnView = RegistryView::k64;
#else
constexpr RegistryView kOwnView = RegistryView::k32;
#endif

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept;
HRESULT CanUnloadNow() noexcept;
// DllRegisterServer and DllUnregisterServer: this DLL, for the machine, in its own view.
HRESULT RegisterServer() noexcept;
HRESULT UnregisterServer() noexcept;
// DllInstall: the command line "user" registers (or removes) this DLL for the current user
// only; "machine" or none does what DllRegisterServer (DllUnregisterServer) does. Any other
// command line is E_INVALIDARG.
HRESULT InstallServer(bool install, const wchar_t* command_line) noexcept;

// The registration of the build at dll_path, whose type library names the interfaces, in one
// scope and view. Unregistering removes that view's CLSID and Interface keys and that build's
// win32 or win64 type-library entry; the shared ProgID keys and the rest of the type library's
// key go only when the other view holds no registration of the class. Unregistering what is not
// registered succeeds. The entry points above call these for this DLL in its own view.
HRESULT Register(RegistrationScope scope, RegistryView view, const std::wstring& dll_path) noexcept;
HRESULT Unregister(RegistrationScope scope, RegistryView view,
                   const std::wstring& dll_path) noexcept;

}  // namespace kovar3
