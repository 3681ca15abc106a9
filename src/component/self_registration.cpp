#include "component/self_registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <new>
#include <string>

#include "component/class_factory.h"
#include "component/ini_edit_class.h"
#include "component/module.h"
#include "component/ops.h"
#include "kovar3_h.h"
#include "platform/unique.h"

namespace kovar3 {
namespace {

struct CreatableClass {
    const CLSID* clsid;
    const wchar_t* description;
    const wchar_t* prog_id;
};

const CreatableClass kClasses[] = {
    {&CLSID_Ops, L"Kovar3 system operations", L"Kovar3.Ops"},
    {&CLSID_INIEdit, L"Kovar3 INI file access", L"Kovar3.INIEdit"},
};

constexpr WORD kLibraryMajor = 52;
constexpr WORD kLibraryMinor = 0;
constexpr LCID kLibraryLocale = 0x409;

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

// Writes one string value (value_name null: the key's default value) below HKEY_CLASSES_ROOT,
// creating the key path.
bool WriteClassesValue(const std::wstring& key_path, const wchar_t* value_name,
                       const std::wstring& data)
{
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, key_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                          key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.get(), value_name, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool RegisterClass(const CreatableClass& c, const std::wstring& server_path)
{
    const std::wstring clsid = GuidText(*c.clsid);
    const std::wstring key = L"CLSID\\" + clsid;
    return WriteClassesValue(key, nullptr, c.description) &&
           WriteClassesValue(key + L"\\InprocServer32", nullptr, server_path) &&
           WriteClassesValue(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
           WriteClassesValue(key + L"\\ProgID", nullptr, c.prog_id) &&
           WriteClassesValue(key + L"\\TypeLib", nullptr, GuidText(LIBID_Kovar3)) &&
           WriteClassesValue(key + L"\\Version", nullptr, L"52.0") &&
           WriteClassesValue(key + L"\\Programmable", nullptr, L"") &&
           WriteClassesValue(c.prog_id, nullptr, c.description) &&
           WriteClassesValue(std::wstring(c.prog_id) + L"\\CLSID", nullptr, clsid);
}

void DeleteClassesTree(const std::wstring& key_path)
{
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key_path.c_str());
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, key_path.c_str());
}

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept
{
    if (!out) return E_POINTER;
    *out = nullptr;
    IClassFactory* factory = nullptr;
    try {
        if (clsid == CLSID_Ops)
            factory = new ClassFactory<Ops>();
        else if (clsid == CLSID_INIEdit)
            factory = new ClassFactory<INIEdit>();
        else
            return CLASS_E_CLASSNOTAVAILABLE;  // PEFile objects come only from GetPEFile
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

HRESULT CanUnloadNow() noexcept { return module::CanUnload() ? S_OK : S_FALSE; }

HRESULT RegisterServer() noexcept
{
    try {
        const std::wstring path = module::Path();
        if (path.empty()) return SELFREG_E_CLASS;
        ComPtr<ITypeLib> library;
        HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
        if (FAILED(hr)) return SELFREG_E_TYPELIB;
        // Registers the library and marshals the three dual interfaces through it.
        hr = ::RegisterTypeLib(library.get(), const_cast<LPOLESTR>(path.c_str()), nullptr);
        if (FAILED(hr)) return SELFREG_E_TYPELIB;
        for (const CreatableClass& c : kClasses) {
            if (!RegisterClass(c, path)) {
                UnregisterServer();
                return SELFREG_E_CLASS;
            }
        }
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer() noexcept
{
    try {
        for (const CreatableClass& c : kClasses) {
            DeleteClassesTree(L"CLSID\\" + GuidText(*c.clsid));
            DeleteClassesTree(c.prog_id);
        }
#ifdef _WIN64
        const SYSKIND kind = SYS_WIN64;
#else
        const SYSKIND kind = SYS_WIN32;
#endif
        // A library that is not registered (any more) is what unregistering asks for.
        BSTR registered_path = nullptr;
        if (SUCCEEDED(::QueryPathOfRegTypeLib(LIBID_Kovar3, kLibraryMajor, kLibraryMinor,
                                              kLibraryLocale, &registered_path))) {
            ::SysFreeString(registered_path);
            if (FAILED(::UnRegisterTypeLib(LIBID_Kovar3, kLibraryMajor, kLibraryMinor,
                                           kLibraryLocale, kind)))
                return SELFREG_E_TYPELIB;
        }
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace kovar3
