// IUnknown, IDispatch and ISupportErrorInfo for one dual interface, with IDispatch served
// from the embedded type library: names, DISPIDs and argument coercion cannot drift from it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <vector>

#include "component/module.h"
#include "platform/unique.h"

namespace kovar3 {

// The argument counts of one interface's members, read from its type information once.
class ArgumentCounts {
public:
    explicit ArgumentCounts(ITypeInfo* info);  // throws std::bad_alloc

    // S_OK when `params` suits the member `flags` asks for (or the type describes no such member,
    // which the standard dispatch then answers for). Too many or too few arguments, named ones
    // included, give DISP_E_BADPARAMCOUNT; a named argument that names no parameter, or one
    // another argument fills, DISP_E_PARAMNOTFOUND with its index in `arg_error`.
    HRESULT Check(DISPID member, WORD flags, const DISPPARAMS& params,
                  UINT* arg_error) const noexcept;

private:
    struct Row {
        DISPID member;
        INVOKEKIND kind;
        int accepted;  // -1: any number
        int required;
    };
    std::vector<Row> rows_;
};

// Calls through IDispatch with the interface's type information. The arguments are counted
// first: a wrong count (a script's error 450, "Wrong number of arguments") ends the call before
// the member runs. Arguments passed by value (JScript passes everything so) are wrapped in
// by-reference temporaries: a member that writes an output into one writes into the temporary,
// and the value is lost with it, as a script expects of a literal. An error that a member
// raises (failure HRESULT plus error information) comes back as DISP_E_EXCEPTION with the
// EXCEPINFO filled.
HRESULT InvokeThroughTypeInfo(IDispatch* self, ITypeInfo* type_info, const ArgumentCounts& counts,
                              DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* arg_error) noexcept;

template <typename Interface>
class DispatchObject : public Interface, public ISupportErrorInfo {
public:
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return module::GetTypeInfo(__uuidof(Interface), info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override
    {
        ComPtr<ITypeInfo> info;
        const HRESULT hr = module::GetTypeInfo(__uuidof(Interface), info.put());
        if (FAILED(hr)) return hr;
        return ::DispGetIDsOfNames(info.get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* arg_error) override
    {
        ComPtr<ITypeInfo> info;
        const HRESULT hr = module::GetTypeInfo(__uuidof(Interface), info.put());
        if (FAILED(hr)) return hr;
        try {
            static const ArgumentCounts counts(info.get());
            return InvokeThroughTypeInfo(static_cast<Interface*>(this), info.get(), counts, member,
                                         flags, params, result, exception, arg_error);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override
    {
        return iid == __uuidof(Interface) ? S_OK : S_FALSE;
    }

protected:
    DispatchObject() noexcept { module::ObjectCreated(); }
    virtual ~DispatchObject() { module::ObjectDestroyed(); }

private:
    std::atomic<ULONG> references_{1};
};

// Creates an object of class T (reference count 1) and queries it for `iid`.
template <typename T>
HRESULT CreateAndQuery(REFIID iid, void** out) noexcept
{
    if (!out) return E_POINTER;
    *out = nullptr;
    T* object = nullptr;
    try {
        object = new T();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

}  // namespace kovar3
