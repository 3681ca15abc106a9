#include "component/dispatch_object.h"

#include <new>

#include "platform/unique.h"
#include "platform/variant.h"

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

// A function description of a type, released with the scope.
class FuncDescription {
public:
    FuncDescription(ITypeInfo* info, UINT index) noexcept : info_(info)
    {
        if (FAILED(info_->GetFuncDesc(index, &desc_))) desc_ = nullptr;
    }
    ~FuncDescription()
    {
        if (desc_) info_->ReleaseFuncDesc(desc_);
    }
    FuncDescription(const FuncDescription&) = delete;
    FuncDescription& operator=(const FuncDescription&) = delete;
    const FUNCDESC* get() const noexcept { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_ = nullptr;
};

// How many arguments a member takes: at most `accepted` (-1: any number), at least `required`.
void CountParameters(const FUNCDESC& desc, int& accepted, int& required)
{
    accepted = 0;
    required = 0;
    int optional_at_end = desc.cParamsOpt > 0 ? desc.cParamsOpt : 0;
    for (int i = desc.cParams - 1; i >= 0; --i) {
        const USHORT flags = desc.lprgelemdescParam[i].paramdesc.wParamFlags;
        // The result and a locale identifier are supplied by the call, not by the caller.
        if (flags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) continue;
        ++accepted;
        if (optional_at_end > 0) {
            --optional_at_end;
        } else if (!(flags & PARAMFLAG_FOPT)) {
            ++required;
        }
    }
    if (desc.cParamsOpt == -1) accepted = -1;  // a trailing parameter array
}

}  // namespace

ArgumentCounts::ArgumentCounts(ITypeInfo* info)
{
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return;
    const UINT functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < functions; ++i) {
        const FuncDescription desc(info, i);
        if (!desc.get()) continue;
        Row row{desc.get()->memid, desc.get()->invkind, 0, 0};
        CountParameters(*desc.get(), row.accepted, row.required);
        rows_.push_back(row);
    }
}

HRESULT ArgumentCounts::Check(DISPID member, WORD flags, const DISPPARAMS& params,
                              UINT* arg_error) const noexcept
{
    // The DISPATCH_ flags and the INVOKE_ kinds share their values.
    const Row* row = nullptr;
    for (const Row& candidate : rows_) {
        if (candidate.member == member && (flags & candidate.kind)) {
            row = &candidate;
            break;
        }
    }
    if (!row) return S_OK;
    const int given = static_cast<int>(params.cArgs);
    if ((row->accepted >= 0 && given > row->accepted) || given < row->required)
        return DISP_E_BADPARAMCOUNT;
    const UINT positional = params.cArgs - params.cNamedArgs;
    for (UINT i = 0; i < params.cNamedArgs; ++i) {
        const DISPID named = params.rgdispidNamedArgs[i];
        if (named == DISPID_PROPERTYPUT) continue;  // the value of a property put
        bool taken = named < static_cast<DISPID>(positional) ||
                     (row->accepted >= 0 && named >= row->accepted);
        for (UINT j = 0; j < i && !taken; ++j) taken = params.rgdispidNamedArgs[j] == named;
        if (taken) {
            if (arg_error) *arg_error = i;
            return DISP_E_PARAMNOTFOUND;
        }
    }
    return S_OK;
}

HRESULT InvokeThroughTypeInfo(IDispatch* self, ITypeInfo* type_info, const ArgumentCounts& counts,
                              DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* arg_error) noexcept
{
    if (!params) return E_INVALIDARG;
    if (params->cArgs > 0 && !params->rgvarg) return E_INVALIDARG;
    if (params->cNamedArgs > params->cArgs ||
        (params->cNamedArgs > 0 && !params->rgdispidNamedArgs))
        return E_INVALIDARG;
    try {
        const HRESULT checked = counts.Check(member, flags, *params, arg_error);
        if (FAILED(checked)) return checked;

        const UINT count = params->cArgs;
        std::vector<Variant> values(count);
        std::vector<VARIANT> wrapped(params->rgvarg, params->rgvarg + count);
        for (UINT i = 0; i < count; ++i) {
            if (V_VT(&wrapped[i]) & VT_BYREF) continue;
            values[i] = Variant::CopyOf(params->rgvarg[i]);
            V_VT(&wrapped[i]) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&wrapped[i]) = values[i].address();
        }
        DISPPARAMS by_reference = *params;
        by_reference.rgvarg = wrapped.data();

        ::SetErrorInfo(0, nullptr);
        HRESULT hr = ::DispInvoke(self, type_info, member, flags, &by_reference, result, exception,
                                  arg_error);
        if (FAILED(hr) && hr != DISP_E_EXCEPTION && FillException(hr, exception))
            hr = DISP_E_EXCEPTION;
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace kovar3
