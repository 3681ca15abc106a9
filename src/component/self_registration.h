// The four entry points of the in-process server, as plain functions; the DLL exports them.
#pragma once

#include <windows.h>

namespace kovar3 {

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept;
HRESULT CanUnloadNow() noexcept;
HRESULT RegisterServer() noexcept;
HRESULT UnregisterServer() noexcept;

}  // namespace kovar3
