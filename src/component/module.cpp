#include "component/module.h"

#include <oleauto.h>

#include <atomic>
#include <vector>

#include "platform/unique.h"

namespace kovar3::module {
namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

// Loaded on first use and kept for the life of the process: ITypeLib is free-threaded, and
// loading it for every object would cost more than creating the object itself.
struct TypeLibrary {
    HRESULT status = E_FAIL;
    ITypeLib* library = nullptr;

    TypeLibrary()
    {
        try {
            status = ::LoadTypeLibEx(Path().c_str(), REGKIND_NONE, &library);
        } catch (...) {
            status = E_OUTOFMEMORY;
        }
    }
};

}  // namespace

void ObjectCreated() noexcept { ++g_objects; }
void ObjectDestroyed() noexcept { --g_objects; }
void LockServer(bool lock) noexcept { lock ? ++g_locks : --g_locks; }
bool CanUnload() noexcept { return g_objects == 0 && g_locks == 0; }

HMODULE Current() noexcept
{
    HMODULE self = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&Current), &self);
    return self;
}

std::wstring Path()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(Current(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

HRESULT GetTypeInfo(REFIID iid, ITypeInfo** info) noexcept
{
    static const TypeLibrary type_library;
    *info = nullptr;
    if (FAILED(type_library.status)) return type_library.status;
    return type_library.library->GetTypeInfoOfGuid(iid, info);
}

}  // namespace kovar3::module
