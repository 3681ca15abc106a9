// Self-registration and the server entry points, called on the built 64-bit DLL as regsvr32
// and COM call them. The test script registers the DLL before the tests run; these tests
// leave it registered.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "kovar3_h.h"
#include "platform/unique.h"
#include "support/paths.h"

namespace kovar3::test {
namespace {

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

bool ClassesKeyExists(const std::wstring& path)
{
    RegKey key;
    return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) ==
           ERROR_SUCCESS;
}

std::wstring ClassesValue(const std::wstring& path, const wchar_t* name)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data,
                       &size) != ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

// The DLL loaded by path, with its four exports.
class ServerDll {
public:
    ServerDll() : module_(::LoadLibraryW(BuiltDll(Arch::k64).c_str())) {}
    bool loaded() const { return static_cast<bool>(module_); }
    template <typename F>
    F Export(const char* name) const
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)));
    }
    HRESULT Register() const { return Export<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")(); }
    HRESULT Unregister() const
    {
        return Export<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")();
    }
    HRESULT CanUnloadNow() const { return Export<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow")(); }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const
    {
        return Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject")(
            clsid, iid, out);
    }

private:
    LoadedModule module_;
};

struct ClassCase {
    const CLSID* clsid;
    const wchar_t* prog_id;
};
const ClassCase kCreatable[] = {{&CLSID_Ops, L"Kovar3.Ops"}, {&CLSID_INIEdit, L"Kovar3.INIEdit"}};
const IID* const kInterfaces[] = {&IID__Ops, &IID__INIEdit, &IID__PEFile};

void ExpectRegistered(const std::wstring& dll_path)
{
    for (const ClassCase& c : kCreatable) {
        SCOPED_TRACE(c.prog_id);
        const std::wstring key = L"CLSID\\" + GuidText(*c.clsid);
        EXPECT_EQ(ClassesValue(key + L"\\InprocServer32", nullptr), dll_path);
        EXPECT_EQ(ClassesValue(key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(ClassesValue(key + L"\\ProgID", nullptr), c.prog_id);
        EXPECT_EQ(ClassesValue(std::wstring(c.prog_id) + L"\\CLSID", nullptr), GuidText(*c.clsid));
    }
    EXPECT_FALSE(ClassesKeyExists(L"CLSID\\" + GuidText(CLSID_PEFile)));
    // Interfaces are marshalled by the type library marshaller.
    for (const IID* iid : kInterfaces) {
        const std::wstring key = L"Interface\\" + GuidText(*iid);
        EXPECT_EQ(ClassesValue(key + L"\\ProxyStubClsid32", nullptr),
                  L"{00020424-0000-0000-C000-000000000046}");
        EXPECT_EQ(ClassesValue(key + L"\\TypeLib", nullptr), GuidText(LIBID_Kovar3));
    }
    EXPECT_TRUE(
        ClassesKeyExists(L"TypeLib\\" + GuidText(LIBID_Kovar3) + L"\\34.0"));  // 52.0 in hex
}

void ExpectUnregistered()
{
    for (const ClassCase& c : kCreatable) {
        EXPECT_FALSE(ClassesKeyExists(L"CLSID\\" + GuidText(*c.clsid)));
        EXPECT_FALSE(ClassesKeyExists(c.prog_id));
    }
    for (const IID* iid : kInterfaces)
        EXPECT_FALSE(ClassesKeyExists(L"Interface\\" + GuidText(*iid)));
    EXPECT_FALSE(ClassesKeyExists(L"TypeLib\\" + GuidText(LIBID_Kovar3)));
}

TEST(Registration, UnregisterRemovesWhatRegisterWrote)
{
    ServerDll dll;
    ASSERT_TRUE(dll.loaded());
    wchar_t path[MAX_PATH] = {};
    ::GetFullPathNameW(BuiltDll(Arch::k64).c_str(), MAX_PATH, path, nullptr);

    ASSERT_EQ(dll.Register(), S_OK);
    ExpectRegistered(path);
    ASSERT_EQ(dll.Unregister(), S_OK);
    ExpectUnregistered();
    EXPECT_EQ(dll.Unregister(), S_OK);  // unregistering twice is no failure
    ASSERT_EQ(dll.Register(), S_OK);
    ExpectRegistered(path);
}

TEST(Registration, CreatableByProgId)
{
    for (const ClassCase& c : kCreatable) {
        SCOPED_TRACE(c.prog_id);
        CLSID clsid{};
        ASSERT_EQ(::CLSIDFromProgID(c.prog_id, &clsid), S_OK);
        EXPECT_TRUE(IsEqualGUID(clsid, *c.clsid));
        ComPtr<IDispatch> object;
        EXPECT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     reinterpret_cast<void**>(object.put())),
                  S_OK);
    }
}

TEST(ServerEntryPoints, ClassObjectsAndUnloading)
{
    ServerDll dll;
    ASSERT_TRUE(dll.loaded());
    EXPECT_EQ(dll.CanUnloadNow(), S_OK);

    ComPtr<IClassFactory> none;
    EXPECT_EQ(
        dll.GetClassObject(CLSID_PEFile, IID_IClassFactory, reinterpret_cast<void**>(none.put())),
        CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(dll.GetClassObject(IID__Ops, IID_IClassFactory, reinterpret_cast<void**>(none.put())),
              CLASS_E_CLASSNOTAVAILABLE);

    for (const ClassCase& c : kCreatable) {
        SCOPED_TRACE(c.prog_id);
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(dll.GetClassObject(*c.clsid, IID_IClassFactory,
                                     reinterpret_cast<void**>(factory.put())),
                  S_OK);
        ComPtr<IDispatch> object;
        ASSERT_EQ(
            factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.put())),
            S_OK);
        EXPECT_EQ(dll.CanUnloadNow(), S_FALSE);  // an object is alive
        object.reset();
        EXPECT_EQ(dll.CanUnloadNow(), S_OK);
        factory->LockServer(TRUE);
        EXPECT_EQ(dll.CanUnloadNow(), S_FALSE);  // a locked factory keeps the DLL
        factory->LockServer(FALSE);
        EXPECT_EQ(dll.CanUnloadNow(), S_OK);

        ComPtr<IUnknown> outer_refused;
        EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()), IID_IUnknown,
                                          reinterpret_cast<void**>(outer_refused.put())),
                  CLASS_E_NOAGGREGATION);
    }
}

}  // namespace
}  // namespace kovar3::test
