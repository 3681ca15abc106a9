// The error trap shared by every member: the result starts Empty, the body runs under a
// catch-all, and anything thrown (a failed conversion, a failed file-system operation,
// std::bad_alloc) ends in the member's failure path. No exception crosses the COM boundary.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/errors.h"
#include "platform/variant.h"

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

// The part of a member that runs before its trap is armed (the parameters ExitWin and
// RegListKeys convert first, GetPEFile's checks). `body` returns S_OK to go on, or the
// HRESULT the member ends with (an automation error it raised itself). What `body` throws
// reaches the caller as an automation error with `source`: a conversion failure as the
// conversion's own error (type mismatch, overflow, invalid use of Null), anything else as
// "Out of memory". The result, when there is one, is Empty on every path that fails.
template <typename Body>
HRESULT RunBeforeTrap(const wchar_t* source, VARIANT* result, Body&& body) noexcept
{
    if (result) ::VariantInit(result);
    try {
        return body();
    } catch (const ConversionError& e) {
        return RaiseConversionError(e, source);
    } catch (...) {
        return RaiseConversionError(ConversionError(E_OUTOFMEMORY), source);
    }
}

}  // namespace kovar3
