#include "component/self_registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <cwchar>
#include <new>
#include <string>
#include <vector>

#include "component/class_factory.h"
#include "component/ini_edit_class.h"
#include "component/module.h"
#include "component/ops.h"
#include "kovar3_h.h"
#include "platform/unique.h"
#include "platform/variant.h"

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

// The standard marshaller of dual interfaces, which works from the type library.
constexpr wchar_t kTypeLibMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring Format(const wchar_t* format, unsigned long a, unsigned long b = 0)
{
    wchar_t text[32] = {};
    std::swprintf(text, 32, format, a, b);
    return text;
}

RegistryView OtherView(RegistryView view)
{
    return view == RegistryView::k64 ? RegistryView::k32 : RegistryView::k64;
}

// Software\Classes of one hive, seen through one registry view. Paths are relative to it.
class ClassesKeys {
public:
    ClassesKeys(RegistrationScope scope, RegistryView view)
        : root_(scope == RegistrationScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER),
          view_(view == RegistryView::k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY)
    {
    }

    // Writes one string value (name null: the key's default value), creating the key path.
    bool Write(const std::wstring& path, const wchar_t* name, const std::wstring& data) const
    {
        RegKey key;
        if (::RegCreateKeyExW(root_, Full(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE | view_,
                              nullptr, key.put(), nullptr) != ERROR_SUCCESS)
            return false;
        const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
        return ::RegSetValueExW(key.get(), name, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                bytes) == ERROR_SUCCESS;
    }

    bool Exists(const std::wstring& path) const
    {
        RegKey key;
        return ::RegOpenKeyExW(root_, Full(path).c_str(), 0, KEY_READ | view_, key.put()) ==
               ERROR_SUCCESS;
    }

    // Removes the key with everything below it. A key that is not there is no failure.
    bool Delete(const std::wstring& path) const
    {
        RegKey parent;
        const size_t cut = path.rfind(L'\\');
        const std::wstring parent_path = cut == std::wstring::npos ? L"" : path.substr(0, cut);
        const std::wstring leaf = cut == std::wstring::npos ? path : path.substr(cut + 1);
        LSTATUS status = ::RegOpenKeyExW(
            root_, Full(parent_path).c_str(), 0,
            DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | view_,
            parent.put());
        if (status == ERROR_SUCCESS) status = ::RegDeleteTreeW(parent.get(), leaf.c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }

    // Removes the key when it holds neither subkeys nor values, and leaves it otherwise.
    bool DeleteIfEmpty(const std::wstring& path) const
    {
        RegKey key;
        DWORD subkeys = 0, values = 0;
        if (::RegOpenKeyExW(root_, Full(path).c_str(), 0, KEY_READ | view_, key.put()) !=
            ERROR_SUCCESS)
            return true;
        if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            subkeys != 0 || values != 0)
            return true;
        key.reset();
        return Delete(path);
    }

private:
    std::wstring Full(const std::wstring& path) const
    {
        return path.empty() ? L"Software\\Classes" : L"Software\\Classes\\" + path;
    }

    HKEY root_;
    REGSAM view_;
};

// What the registration needs to know of a type library, read from the DLL's TYPELIB resource.
struct LibraryFacts {
    struct Interface {
        IID iid;
        std::wstring name;
    };
    std::wstring guid;
    std::wstring hex_version;  // <major>.<minor> in hexadecimal, as the registry names it: "34.0"
    std::wstring version;      // the same in decimal: "52.0"
    std::wstring version_key;  // TypeLib\{guid}\<hex_version>
    std::wstring locale;       // the locale's key below that, also hexadecimal: "409"
    std::wstring title;        // the library's documentation string, or its name
    WORD flags = 0;
    std::vector<Interface> interfaces;  // the dual interfaces, marshalled through the library
};

std::wstring DocumentationOf(ITypeLib* library, INT index)
{
    Bstr name, doc;
    if (FAILED(library->GetDocumentation(index, name.put(), doc.put(), nullptr, nullptr)))
        return {};
    if (doc.get() && *doc.get()) return doc.get();
    return name.get() ? name.get() : L"";
}

HRESULT ReadLibrary(const std::wstring& dll_path, LibraryFacts* facts)
{
    ComPtr<ITypeLib> library;
    HRESULT hr = ::LoadTypeLibEx(dll_path.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = library->GetLibAttr(&attr);
    if (FAILED(hr)) return hr;
    facts->guid = GuidText(attr->guid);
    facts->hex_version = Format(L"%lx.%lx", attr->wMajorVerNum, attr->wMinorVerNum);
    facts->version = Format(L"%lu.%lu", attr->wMajorVerNum, attr->wMinorVerNum);
    facts->version_key = L"TypeLib\\" + facts->guid + L"\\" + facts->hex_version;
    facts->locale = Format(L"%lx", attr->lcid);
    facts->flags = attr->wLibFlags;
    library->ReleaseTLibAttr(attr);
    facts->title = DocumentationOf(library.get(), -1);

    const UINT count = library->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        ComPtr<ITypeInfo> info;
        TYPEATTR* type = nullptr;
        if (FAILED(library->GetTypeInfo(i, info.put())) || FAILED(info->GetTypeAttr(&type)))
            return E_FAIL;
        const bool marshalled = type->typekind == TKIND_DISPATCH ||
                                (type->typekind == TKIND_INTERFACE &&
                                 (type->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION)));
        const IID iid = type->guid;
        info->ReleaseTypeAttr(type);
        if (marshalled)
            facts->interfaces.push_back({iid, DocumentationOf(library.get(), static_cast<INT>(i))});
    }
    return S_OK;
}

// The key of one build's entry below the type library's version key: the win32 or win64 path.
std::wstring PlatformEntry(const LibraryFacts& library, RegistryView view)
{
    return library.version_key + L"\\" + library.locale +
           (view == RegistryView::k64 ? L"\\win64" : L"\\win32");
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

bool WriteTypeLibrary(const ClassesKeys& keys, const LibraryFacts& library, RegistryView view,
                      const std::wstring& dll_path)
{
    const std::wstring& v = library.version_key;
    if (!keys.Write(v, nullptr, library.title) ||
        !keys.Write(v + L"\\FLAGS", nullptr, Format(L"%lu", library.flags)) ||
        !keys.Write(v + L"\\HELPDIR", nullptr, FolderOf(dll_path)) ||
        !keys.Write(PlatformEntry(library, view), nullptr, dll_path))
        return false;
    for (const LibraryFacts::Interface& i : library.interfaces) {
        const std::wstring key = L"Interface\\" + GuidText(i.iid);
        if (!keys.Write(key, nullptr, i.name) ||
            !keys.Write(key + L"\\ProxyStubClsid", nullptr, kTypeLibMarshaller) ||
            !keys.Write(key + L"\\ProxyStubClsid32", nullptr, kTypeLibMarshaller) ||
            !keys.Write(key + L"\\TypeLib", nullptr, library.guid) ||
            !keys.Write(key + L"\\TypeLib", L"Version", library.hex_version))
            return false;
    }
    return true;
}

bool WriteClass(const ClassesKeys& keys, const CreatableClass& c, const LibraryFacts& library,
                const std::wstring& dll_path)
{
    const std::wstring clsid = GuidText(*c.clsid);
    const std::wstring key = L"CLSID\\" + clsid;
    return keys.Write(key, nullptr, c.description) &&
           keys.Write(key + L"\\InprocServer32", nullptr, dll_path) &&
           keys.Write(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
           keys.Write(key + L"\\ProgID", nullptr, c.prog_id) &&
           keys.Write(key + L"\\TypeLib", nullptr, library.guid) &&
           keys.Write(key + L"\\Version", nullptr, library.version) &&
           keys.Write(key + L"\\Programmable", nullptr, L"") &&
           keys.Write(c.prog_id, nullptr, c.description) &&
           keys.Write(std::wstring(c.prog_id) + L"\\CLSID", nullptr, clsid);
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

HRESULT Register(RegistrationScope scope, RegistryView view, const std::wstring& dll_path) noexcept
{
    try {
        LibraryFacts library;
        if (dll_path.empty() || FAILED(ReadLibrary(dll_path, &library))) return SELFREG_E_TYPELIB;
        const ClassesKeys keys(scope, view);
        if (!WriteTypeLibrary(keys, library, view, dll_path)) {
            Unregister(scope, view, dll_path);
            return SELFREG_E_TYPELIB;
        }
        for (const CreatableClass& c : kClasses) {
            if (!WriteClass(keys, c, library, dll_path)) {
                Unregister(scope, view, dll_path);
                return SELFREG_E_CLASS;
            }
        }
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Unregister(RegistrationScope scope, RegistryView view,
                   const std::wstring& dll_path) noexcept
{
    try {
        LibraryFacts library;
        if (dll_path.empty() || FAILED(ReadLibrary(dll_path, &library))) return SELFREG_E_TYPELIB;
        const ClassesKeys own(scope, view);
        const ClassesKeys other(scope, OtherView(view));
        // Where the platform keeps one view only (32-bit Windows; Wine for the user's classes),
        // "other" is this same view, and after the first two steps it holds no registration.
        bool removed = true;
        for (const CreatableClass& c : kClasses)
            removed &= own.Delete(L"CLSID\\" + GuidText(*c.clsid));
        for (const LibraryFacts::Interface& i : library.interfaces)
            removed &= own.Delete(L"Interface\\" + GuidText(i.iid));
        const std::wstring entry = PlatformEntry(library, view);
        removed &= own.Delete(entry);
        removed &= own.DeleteIfEmpty(entry.substr(0, entry.rfind(L'\\')));

        // The shared keys go with the last registration of the class. Both views are cleaned
        // because a platform may keep a copy of these keys in each (Wine keeps the ProgIDs of
        // HKEY_LOCAL_MACHINE apart); where they are shared, the second deletion finds nothing.
        bool other_registered = false;
        for (const CreatableClass& c : kClasses) {
            if (other.Exists(L"CLSID\\" + GuidText(*c.clsid) + L"\\InprocServer32")) {
                other_registered = true;
                continue;
            }
            removed &= own.Delete(c.prog_id);
            removed &= other.Delete(c.prog_id);
        }
        if (!other_registered) {
            for (const ClassesKeys* keys : {&own, &other}) {
                removed &= keys->Delete(library.version_key);
                removed &= keys->DeleteIfEmpty(L"TypeLib\\" + library.guid);
            }
        }
        // A user's profile may have had no class keys before: leave it as it was found.
        if (scope == RegistrationScope::kUser) {
            for (const ClassesKeys* keys : {&own, &other})
                for (const wchar_t* container : {L"CLSID", L"Interface", L"TypeLib"})
                    removed &= keys->DeleteIfEmpty(container);
        }
        return removed ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT RegisterServer() noexcept
{
    try {
        return Register(RegistrationScope::kMachine, kOwnView, module::Path());
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer() noexcept
{
    try {
        return Unregister(RegistrationScope::kMachine, kOwnView, module::Path());
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT InstallServer(bool install, const wchar_t* command_line) noexcept
{
    try {
        std::wstring scope_name = command_line ? command_line : L"";
        scope_name.erase(0, scope_name.find_first_not_of(L" \t"));
        scope_name.erase(scope_name.find_last_not_of(L" \t") + 1);
        RegistrationScope scope;
        if (_wcsicmp(scope_name.c_str(), L"user") == 0)
            scope = RegistrationScope::kUser;
        else if (scope_name.empty() || _wcsicmp(scope_name.c_str(), L"machine") == 0)
            scope = RegistrationScope::kMachine;
        else
            return E_INVALIDARG;
        const std::wstring path = module::Path();
        return install ? Register(scope, kOwnView, path) : Unregister(scope, kOwnView, path);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace kovar3
