// Self-registration and the server entry points, called on the built 64-bit DLL as regsvr32
// and COM call them. The 32-bit build cannot be loaded into this 64-bit process, so the
// registration code linked into the test stands in for it, writing and removing the 32-bit
// view's keys through KEY_WOW64_32KEY exactly as the 32-bit DLL does in its own view.
// The test command registers the DLLs for the machine before the tests run; every test here
// starts from a registry without Kovar3 and puts back what was registered before.
#include "component/self_registration.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "kovar3_h.h"
#include "kovar3_version.h"
#include "platform/unique.h"
#include "support/paths.h"

namespace kovar3::test {
namespace {

constexpr wchar_t kMissing[] = L"<missing>";
constexpr RegistrationScope kScopes[] = {RegistrationScope::kMachine, RegistrationScope::kUser};
constexpr RegistryView kViews[] = {RegistryView::k64, RegistryView::k32};

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

const wchar_t* NameOf(RegistrationScope scope)
{
    return scope == RegistrationScope::kMachine ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER";
}

const wchar_t* NameOf(RegistryView view)
{
    return view == RegistryView::k64 ? L"64-bit view" : L"32-bit view";
}

std::wstring BuildOf(RegistryView view)
{
    wchar_t path[MAX_PATH] = {};
    ::GetFullPathNameW(BuiltDll(view == RegistryView::k64 ? Arch::k64 : Arch::k32).c_str(),
                       MAX_PATH, path, nullptr);
    return path;
}

// Software\Classes of one hive through one view, read by the test's own calls.
std::wstring ClassesPath(const std::wstring& path) { return L"Software\\Classes\\" + path; }

RegKey OpenClassesKey(RegistrationScope scope, RegistryView view, const std::wstring& path)
{
    RegKey key;
    const HKEY root = scope == RegistrationScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const REGSAM flag = view == RegistryView::k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    ::RegOpenKeyExW(root, ClassesPath(path).c_str(), 0, KEY_READ | flag, key.put());
    return key;
}

bool KeyExists(RegistrationScope scope, RegistryView view, const std::wstring& path)
{
    return static_cast<bool>(OpenClassesKey(scope, view, path));
}

std::wstring ValueOf(RegistrationScope scope, RegistryView view, const std::wstring& path,
                     const wchar_t* name)
{
    const RegKey key = OpenClassesKey(scope, view, path);
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (!key || ::RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
                    ERROR_SUCCESS)
        return kMissing;
    return data;
}

// Whether the platform keeps the two views of this hive's class keys apart. 64-bit Windows
// does for both hives; Wine keeps one view of HKEY_CURRENT_USER\Software\Classes.
bool ViewsSeparate(RegistrationScope scope)
{
    const HKEY root = scope == RegistrationScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::wstring probe = L"CLSID\\{5B0C2A7E-7F0B-4C4E-9C1A-3D2B1E0F9A11}";
    RegKey key;
    if (::RegCreateKeyExW(root, ClassesPath(probe).c_str(), 0, nullptr, 0,
                          KEY_WRITE | KEY_WOW64_32KEY, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    key.reset();
    const bool separate = !KeyExists(scope, RegistryView::k64, probe);
    ::RegDeleteKeyExW(root, ClassesPath(probe).c_str(), KEY_WOW64_32KEY, 0);
    return separate;
}

// Whether COM finds classes registered for the user: Windows merges
// HKEY_CURRENT_USER\Software\Classes into HKEY_CLASSES_ROOT; Wine 8 reads the machine's only.
bool UserClassesReachCom()
{
    const wchar_t probe[] = L"Kovar3.RegistrationProbe";
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, ClassesPath(probe).c_str(), 0, nullptr, 0, KEY_WRITE,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    key.reset();
    const bool merged =
        ::RegOpenKeyExW(HKEY_CLASSES_ROOT, probe, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
    key.reset();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, ClassesPath(probe).c_str());
    return merged;
}

std::wstring TypeLibVersionKey()
{
    wchar_t version[16] = {};
    std::swprintf(version, 16, L"%x.%x", KOVAR3_TYPELIB_VERSION_MAJOR,
                  KOVAR3_TYPELIB_VERSION_MINOR);
    return L"TypeLib\\" + GuidText(LIBID_Kovar3) + L"\\" + version;
}

std::wstring TypeLibEntry(RegistryView view)
{
    return TypeLibVersionKey() + (view == RegistryView::k64 ? L"\\409\\win64" : L"\\409\\win32");
}

// The DLL loaded by path, with its exports.
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
    HRESULT Install(BOOL install, const wchar_t* command_line) const
    {
        return Export<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall")(install, command_line);
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

std::wstring ClsidKey(const ClassCase& c) { return L"CLSID\\" + GuidText(*c.clsid); }

// Everything one build's registration gives a host of its bitness, read through its view.
void ExpectRegistered(RegistrationScope scope, RegistryView view, const std::wstring& dll_path)
{
    SCOPED_TRACE(std::wstring(NameOf(scope)) + L", " + NameOf(view) + L": " + dll_path);
    for (const ClassCase& c : kCreatable) {
        SCOPED_TRACE(c.prog_id);
        const std::wstring key = ClsidKey(c);
        EXPECT_EQ(ValueOf(scope, view, key + L"\\InprocServer32", nullptr), dll_path);
        EXPECT_EQ(ValueOf(scope, view, key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(ValueOf(scope, view, key + L"\\ProgID", nullptr), c.prog_id);
        EXPECT_EQ(ValueOf(scope, view, key + L"\\TypeLib", nullptr), GuidText(LIBID_Kovar3));
        EXPECT_EQ(ValueOf(scope, view, std::wstring(c.prog_id) + L"\\CLSID", nullptr),
                  GuidText(*c.clsid));
    }
    EXPECT_FALSE(KeyExists(scope, view, L"CLSID\\" + GuidText(CLSID_PEFile)));
    // Interfaces are marshalled by the type library marshaller.
    for (const IID* iid : kInterfaces) {
        const std::wstring key = L"Interface\\" + GuidText(*iid);
        EXPECT_EQ(ValueOf(scope, view, key + L"\\ProxyStubClsid32", nullptr),
                  L"{00020424-0000-0000-C000-000000000046}");
        EXPECT_EQ(ValueOf(scope, view, key + L"\\TypeLib", nullptr), GuidText(LIBID_Kovar3));
    }
    EXPECT_EQ(ValueOf(scope, view, TypeLibEntry(view), nullptr), dll_path);
}

// What one build's unregistration removes from its own view.
void ExpectGoneFromView(RegistrationScope scope, RegistryView view)
{
    SCOPED_TRACE(std::wstring(NameOf(scope)) + L", " + NameOf(view));
    for (const ClassCase& c : kCreatable) EXPECT_FALSE(KeyExists(scope, view, ClsidKey(c)));
    for (const IID* iid : kInterfaces)
        EXPECT_FALSE(KeyExists(scope, view, L"Interface\\" + GuidText(*iid)));
    EXPECT_FALSE(KeyExists(scope, view, TypeLibEntry(view)));
}

// Nothing of Kovar3 in this hive, through either view.
void ExpectNothingLeft(RegistrationScope scope)
{
    for (RegistryView view : kViews) {
        SCOPED_TRACE(std::wstring(NameOf(scope)) + L", " + NameOf(view));
        for (const ClassCase& c : kCreatable) {
            EXPECT_FALSE(KeyExists(scope, view, ClsidKey(c)));
            EXPECT_FALSE(KeyExists(scope, view, c.prog_id));
        }
        for (const IID* iid : kInterfaces)
            EXPECT_FALSE(KeyExists(scope, view, L"Interface\\" + GuidText(*iid)));
        EXPECT_FALSE(KeyExists(scope, view, L"TypeLib\\" + GuidText(LIBID_Kovar3)));
    }
}

void ExpectCreatableByProgId()
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

// Starts every test with nothing of Kovar3 registered in either hive or view, and registers
// again at the end what was registered at the start.
class CleanRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dll_.loaded());
        for (RegistrationScope scope : kScopes)
            for (RegistryView view : kViews)
                saved_[Slot(scope, view)] =
                    ValueOf(scope, view, ClsidKey(kCreatable[0]) + L"\\InprocServer32", nullptr);
        RemoveEverything();
        for (RegistrationScope scope : kScopes) ExpectNothingLeft(scope);
    }

    void TearDown() override
    {
        RemoveEverything();
        for (RegistrationScope scope : kScopes) {
            if (!ViewsSeparate(scope) && saved_[Slot(scope, RegistryView::k64)] != kMissing) {
                kovar3::Register(scope, RegistryView::k64, saved_[Slot(scope, RegistryView::k64)]);
                continue;
            }
            for (RegistryView view : kViews)
                if (saved_[Slot(scope, view)] != kMissing)
                    kovar3::Register(scope, view, saved_[Slot(scope, view)]);
        }
    }

    static void RemoveEverything()
    {
        for (RegistrationScope scope : kScopes)
            for (RegistryView view : kViews) kovar3::Unregister(scope, view, BuildOf(view));
    }

    static int Slot(RegistrationScope scope, RegistryView view)
    {
        return (scope == RegistrationScope::kUser ? 2 : 0) + (view == RegistryView::k32 ? 1 : 0);
    }

    ServerDll dll_;
    std::wstring saved_[4];
};

// This DLL registers through its exports, as regsvr32 calls them; the 32-bit build's
// registration is written by the same code for the 32-bit view.
class RegistrationTest : public CleanRegistry,
                         public ::testing::WithParamInterface<RegistrationScope> {
protected:
    RegistrationScope scope() const { return GetParam(); }
    RegistrationScope other_scope() const
    {
        return scope() == RegistrationScope::kMachine ? RegistrationScope::kUser
                                                      : RegistrationScope::kMachine;
    }
    HRESULT Register(RegistryView view) const
    {
        if (view == RegistryView::k32) return kovar3::Register(scope(), view, BuildOf(view));
        return scope() == RegistrationScope::kMachine ? dll_.Register()
                                                      : dll_.Install(TRUE, L"user");
    }
    HRESULT Unregister(RegistryView view) const
    {
        if (view == RegistryView::k32) return kovar3::Unregister(scope(), view, BuildOf(view));
        return scope() == RegistrationScope::kMachine ? dll_.Unregister()
                                                      : dll_.Install(FALSE, L"user");
    }
};

TEST_P(RegistrationTest, UnregisterRemovesWhatRegisterWrote)
{
    ASSERT_EQ(Register(RegistryView::k64), S_OK);
    ExpectRegistered(scope(), RegistryView::k64, BuildOf(RegistryView::k64));
    if (ViewsSeparate(scope())) ExpectGoneFromView(scope(), RegistryView::k32);
    ExpectNothingLeft(other_scope());

    ASSERT_EQ(Register(RegistryView::k64), S_OK);  // registering again changes nothing
    ExpectRegistered(scope(), RegistryView::k64, BuildOf(RegistryView::k64));

    ASSERT_EQ(Unregister(RegistryView::k64), S_OK);
    ExpectNothingLeft(scope());
    EXPECT_EQ(Unregister(RegistryView::k64), S_OK);  // nothing registered: nothing to fail
    ExpectNothingLeft(scope());
    ExpectNothingLeft(other_scope());
}

// Both builds registered, in either order, and unregistered in either order: unregistering one
// leaves the other's registration whole, and the last one leaves nothing.
TEST_P(RegistrationTest, BothBuildsSideBySide)
{
    if (!ViewsSeparate(scope()))
        GTEST_SKIP() << "this platform keeps one view of " << NameOf(scope())
                     << "\\Software\\Classes (Wine does for the user's classes): the two builds "
                        "share one registration there";
    struct Order {
        RegistryView first_registered;
        RegistryView first_unregistered;
    };
    const Order kOrders[] = {
        {RegistryView::k64, RegistryView::k64},
        {RegistryView::k64, RegistryView::k32},
        {RegistryView::k32, RegistryView::k64},
        {RegistryView::k32, RegistryView::k32},
    };
    auto other = [](RegistryView v) {
        return v == RegistryView::k64 ? RegistryView::k32 : RegistryView::k64;
    };
    for (const Order& order : kOrders) {
        SCOPED_TRACE(std::wstring(L"registered first: ") + NameOf(order.first_registered) +
                     L", unregistered first: " + NameOf(order.first_unregistered));
        ASSERT_EQ(Register(order.first_registered), S_OK);
        ASSERT_EQ(Register(other(order.first_registered)), S_OK);
        for (RegistryView view : kViews) ExpectRegistered(scope(), view, BuildOf(view));

        const RegistryView gone = order.first_unregistered;
        const RegistryView kept = other(gone);
        ASSERT_EQ(Unregister(gone), S_OK);
        ExpectGoneFromView(scope(), gone);
        ExpectRegistered(scope(), kept, BuildOf(kept));
        EXPECT_EQ(Unregister(gone), S_OK);  // again: nothing of this build is left to remove
        ExpectRegistered(scope(), kept, BuildOf(kept));
        if (kept == RegistryView::k64 && scope() == RegistrationScope::kMachine)
            ExpectCreatableByProgId();

        ASSERT_EQ(Unregister(kept), S_OK);
        ExpectNothingLeft(scope());
        ExpectNothingLeft(other_scope());
    }
}

TEST_P(RegistrationTest, CreatableByProgId)
{
    if (scope() == RegistrationScope::kUser && !UserClassesReachCom())
        GTEST_SKIP() << "COM on this platform reads the machine's classes only (Wine 8): a "
                        "registration for the user is written and checked, but not created from";
    ASSERT_EQ(Register(RegistryView::k64), S_OK);
    ExpectCreatableByProgId();
}

INSTANTIATE_TEST_SUITE_P(Scopes, RegistrationTest,
                         ::testing::Values(RegistrationScope::kMachine, RegistrationScope::kUser),
                         [](const ::testing::TestParamInfo<RegistrationScope>& info) {
                             return info.param == RegistrationScope::kMachine ? "Machine" : "User";
                         });

// DllInstall's command line chooses the hive; the same command line removes what it wrote.
TEST_F(CleanRegistry, InstallCommandLineChoosesTheHive)
{
    struct Case {
        const wchar_t* command_line;
        HRESULT result;
        bool user;  // where the registration is expected when it succeeds
    };
    const Case kCases[] = {
        {L"user", S_OK, true},        {L"USER", S_OK, true},
        {L" user ", S_OK, true},      {L"machine", S_OK, false},
        {L"", S_OK, false},           {nullptr, S_OK, false},
        {L"users", E_INVALIDARG, {}}, {L"user x", E_INVALIDARG, {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.command_line ? c.command_line : L"(null)");
        EXPECT_EQ(dll_.Install(TRUE, c.command_line), c.result);
        if (c.result == S_OK) {
            const RegistrationScope where =
                c.user ? RegistrationScope::kUser : RegistrationScope::kMachine;
            ExpectRegistered(where, RegistryView::k64, BuildOf(RegistryView::k64));
            ExpectNothingLeft(c.user ? RegistrationScope::kMachine : RegistrationScope::kUser);
        }
        EXPECT_EQ(dll_.Install(FALSE, c.command_line), c.result);
        for (RegistrationScope scope : kScopes) ExpectNothingLeft(scope);
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
