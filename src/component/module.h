// Module-wide bookkeeping of the in-process server: live objects and class-factory locks
// (for DllCanUnloadNow), the module's own handle and path, and its embedded type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace kovar3::module {

void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void LockServer(bool lock) noexcept;
bool CanUnload() noexcept;

// The module (DLL, or the test executable) this code is linked into.
HMODULE Current() noexcept;
std::wstring Path();

// Type information of one interface, read from the module's TYPELIB resource 1 once per
// process. Returns a new reference.
HRESULT GetTypeInfo(REFIID iid, ITypeInfo** info) noexcept;

}  // namespace kovar3::module
