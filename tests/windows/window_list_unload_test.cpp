// The window list is per thread. A host may unload the library (COM does, once no object is
// left) while the thread that listed windows goes on, and the thread must still be able to end:
// nothing of the library may be left to run at its exit. Checked in a child process, with a
// private copy of the DLL so that unloading it really unloads it, and a time limit.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/dispatch_client.h"
#include "support/paths.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

constexpr char kChildVariable[] = "KOVAR3_UNLOAD_CHILD_DLL";

using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

DWORD WINAPI ListThenUnload(void* dll_path)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HMODULE dll = ::LoadLibraryA(static_cast<const char*>(dll_path));
    if (!dll) return 2;
    auto get_class_object = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(::GetProcAddress(dll, "DllGetClassObject")));
    CLSID clsid{};
    IClassFactory* factory = nullptr;
    IDispatch* ops = nullptr;
    if (!get_class_object || FAILED(::CLSIDFromProgID(L"Kovar3.Ops", &clsid)) ||
        FAILED(get_class_object(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return 3;
    factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&ops));
    factory->Release();
    if (!ops) return 4;
    Variant titles, title = Variant::Text("Kovar3 no such window"), minimise = Variant::Bool(false);
    CallByRef(ops, L"GetOpenWindowTitles", {titles.address()});
    CallByRef(ops, L"SetWindowActive", {title.address(), minimise.address()});
    ops->Release();
    ::FreeLibrary(dll);
    ::CoUninitialize();
    return 0;
}

TEST(WindowListUnload, ChildListsUnloadsAndEnds)
{
    const char* dll_path = std::getenv(kChildVariable);
    if (!dll_path) GTEST_SKIP() << "runs as a child of AThreadEndsAfterTheLibraryIsUnloaded";
    const HANDLE thread =
        ::CreateThread(nullptr, 0, ListThenUnload, const_cast<char*>(dll_path), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ::WaitForSingleObject(thread, INFINITE);  // the parent ends this process after 20 s
    DWORD code = 1;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    EXPECT_EQ(code, 0u);
}

TEST(WindowListUnload, AThreadEndsAfterTheLibraryIsUnloaded)
{
    TempFolder folder;
    const std::string copy = folder.Path("kovar3_unload_copy.dll");
    ASSERT_TRUE(::CopyFileW(BuiltDll(Arch::k64).c_str(),
                            std::wstring(copy.begin(), copy.end()).c_str(), FALSE));
    wchar_t self[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=WindowListUnload.ChildListsUnloadsAndEnds";
    ::SetEnvironmentVariableA(kChildVariable, copy.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child);
    ::SetEnvironmentVariableA(kChildVariable, nullptr);
    ASSERT_TRUE(started);
    const DWORD waited = ::WaitForSingleObject(child.hProcess, 20000);
    if (waited != WAIT_OBJECT_0) ::TerminateProcess(child.hProcess, 99);
    ::WaitForSingleObject(child.hProcess, 5000);
    DWORD code = 1;
    ::GetExitCodeProcess(child.hProcess, &code);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the thread did not end within 20 s";
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace kovar3::test
