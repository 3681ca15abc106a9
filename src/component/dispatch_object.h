// IUnknown, IDispatch and ISupportErrorInfo for one dual interface, with IDispatch served
// from the embedded type library: names, DISPIDs and argument coercion cannot drift from it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <vector>

#include "component/module.h"

namespace kovar3 {

// Calls through IDispatch with the interface's type information. Arguments passed by value
// (JScript passes everything so) are wrapped in by-reference temporaries first: a member that
// writes an output into one writes into the temporary, and the value is lost with it, as a
// script expects of a literal. An error that a member raises (failure HRESULT plus error
// information) comes back as DISP_E_EXCEPTION with the EXCEPINFO filled.
HRESULT InvokeThroughTypeInfo(IDispatch* self, ITypeInfo* type_info, DISPID member, WORD flags,
                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                              UINT* arg_error) noexcept;

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
        ITypeInfo* info = nullptr;
        HRESULT hr = module::GetTypeInfo(__uuidof(Interface), &info);
        if (FAILED(hr)) return hr;
        hr = ::DispGetIDsOfNames(info, names, count, ids);
        info->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* arg_error) override
    {
        ITypeInfo* info = nullptr;
        HRESULT hr = module::GetTypeInfo(__uuidof(Interface), &info);
        if (FAILED(hr)) return hr;
        hr = InvokeThroughTypeInfo(static_cast<Interface*>(this), info, member, flags, params,
                                   result, exception, arg_error);
        info->Release();
        return hr;
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
