// The class factory of a creatable class. Factories count as objects for DllCanUnloadNow only
// while locked (LockServer), as COM expects.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

#include "component/dispatch_object.h"
#include "component/module.h"

namespace kovar3 {

template <typename T>
class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return CreateAndQuery<T>(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        module::LockServer(lock != FALSE);
        return S_OK;
    }

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace kovar3
