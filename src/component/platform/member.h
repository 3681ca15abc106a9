// The error trap shared by every member: the result starts Empty, the body runs under a
// catch-all, and anything thrown (a failed conversion, a failed file-system operation,
// std::bad_alloc) ends in the member's failure path. No exception crosses the COM boundary.
#pragma once

#include <windows.h>

#include "component/platform/variant.h"

namespace kovar3 {

// `body` returns the result Variant; `failure` writes the failure outputs and returns the
// failure result. A failure path that itself throws leaves the result Empty. `result` may be
// null for members without a result.
template <typename Body, typename Failure>
HRESULT RunMember(VARIANT* result, Body&& body, Failure&& failure) noexcept
{
    if (result) ::VariantInit(result);
    Variant value;
    try {
        value = body();
    } catch (...) {
        try {
            value = failure();
        } catch (...) {
            value = Variant();
        }
    }
    if (result) *result = value.release();
    return S_OK;
}

}  // namespace kovar3
