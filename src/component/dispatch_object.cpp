#include "component/dispatch_object.h"

#include <new>

#include "platform/unique.h"

namespace kovar3 {
namespace {

// Copies the thread's error information into an EXCEPINFO; false when there is none.
bool FillException(HRESULT hr, EXCEPINFO* exception)
{
    ComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, info.put()) != S_OK || !info) return false;
    if (!exception) return true;
    *exception = EXCEPINFO{};
    exception->scode = hr;
    info->GetSource(&exception->bstrSource);
    info->GetDescription(&exception->bstrDescription);
    return true;
}

}  // namespace

HRESULT InvokeThroughTypeInfo(IDispatch* self, ITypeInfo* type_info, DISPID member, WORD flags,
                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                              UINT* arg_error) noexcept
{
    if (!params) return E_INVALIDARG;
    try {
        const UINT count = params->cArgs;
        std::vector<VARIANT> values(count);
        std::vector<VARIANT> wrapped(params->rgvarg, params->rgvarg + count);
        for (UINT i = 0; i < count; ++i) {
            ::VariantInit(&values[i]);
            if (V_VT(&wrapped[i]) & VT_BYREF) continue;
            if (FAILED(::VariantCopy(&values[i], &params->rgvarg[i]))) {
                for (UINT j = 0; j < i; ++j) ::VariantClear(&values[j]);
                return E_OUTOFMEMORY;
            }
            V_VT(&wrapped[i]) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&wrapped[i]) = &values[i];
        }
        DISPPARAMS by_reference = *params;
        by_reference.rgvarg = wrapped.data();

        ::SetErrorInfo(0, nullptr);
        HRESULT hr = ::DispInvoke(self, type_info, member, flags, &by_reference, result, exception,
                                  arg_error);
        if (FAILED(hr) && hr != DISP_E_EXCEPTION && FillException(hr, exception))
            hr = DISP_E_EXCEPTION;
        for (VARIANT& v : values) ::VariantClear(&v);
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace kovar3
