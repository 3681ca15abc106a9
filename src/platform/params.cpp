#include "platform/params.h"

#include <oleauto.h>

#include <cstring>
#include <new>

#include "platform/text.h"

namespace kovar3 {
namespace {

const VARIANT kEmpty = [] {
    VARIANT v;
    ::VariantInit(&v);
    return v;
}();

// Bytes a typed reference points at, by its base type; 0 for types we do not write into.
size_t ReferencedSize(VARTYPE base)
{
    if (base & VT_ARRAY) return sizeof(SAFEARRAY*);
    switch (base) {
    case VT_I1:
    case VT_UI1: return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR: return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE: return 8;
    case VT_BSTR: return sizeof(BSTR);
    case VT_DISPATCH:
    case VT_UNKNOWN: return sizeof(void*);
    default: return 0;
    }
}

// The data part of a VARIANT (every type ReferencedSize accepts starts there).
void* ValueSlot(VARIANT* v) { return &V_I4(v); }

VARIANT* OutputTarget(VARIANT* param) noexcept
{
    while (V_VT(param) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(param))
        param = V_VARIANTREF(param);
    return param;
}

}  // namespace

const VARIANT& Dereference(const VARIANT* param) noexcept
{
    if (!param) return kEmpty;
    while (V_VT(param) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(param))
        param = V_VARIANTREF(param);
    return *param;
}

Variant ReadParamValue(const VARIANT* param)
{
    Variant copy;
    if (!param) return copy;
    const HRESULT hr = ::VariantCopyInd(copy.put(), AsInput(param));
    if (FAILED(hr)) throw ConversionError(hr);
    return copy;
}

Variant ConvertValue(const VARIANT& value, VARTYPE type)
{
    // Null converts to nothing; the script-facing error for that is "Invalid use of Null".
    if (V_VT(&value) == VT_NULL) throw ConversionError(kInvalidUseOfNull);
    Variant out;
    const HRESULT hr = ::VariantChangeType(out.put(), AsInput(&value), 0, type);
    if (FAILED(hr)) throw ConversionError(hr);
    return out;
}

std::string ValueText(const VARIANT& value)
{
    const Variant text = ConvertValue(value, VT_BSTR);
    const BSTR s = V_BSTR(&text.get());
    return ToAnsi(s, ::SysStringLen(s));
}

std::string ReadParamText(const VARIANT* param) { return ValueText(ReadParamValue(param).get()); }

short ReadParamI2(const VARIANT* param)
{
    const Variant value = ReadParamValue(param);
    return V_I2(&ConvertValue(value.get(), VT_I2).get());
}

long ReadParamI4(const VARIANT* param)
{
    const Variant value = ReadParamValue(param);
    return V_I4(&ConvertValue(value.get(), VT_I4).get());
}

bool ReadParamBool(const VARIANT* param)
{
    const Variant value = ReadParamValue(param);
    return V_BOOL(&ConvertValue(value.get(), VT_BOOL).get()) != VARIANT_FALSE;
}

void WriteOutput(VARIANT* param, Variant value)
{
    if (!param) return;
    VARIANT* target = OutputTarget(param);
    if (!(V_VT(target) & VT_BYREF)) {
        ::VariantClear(target);
        *target = value.release();
        return;
    }
    // A typed reference: convert to its type, release the old value, store the new one.
    const VARTYPE base = V_VT(target) & ~VT_BYREF;
    const size_t size = ReferencedSize(base);
    if (size == 0 || !V_BYREF(target)) throw ConversionError(DISP_E_TYPEMISMATCH);
    Variant converted = ConvertValue(value.get(), base);
    VARIANT old;
    ::VariantInit(&old);
    V_VT(&old) = base;
    std::memcpy(ValueSlot(&old), V_BYREF(target), size);
    VARIANT fresh = converted.release();
    std::memcpy(V_BYREF(target), ValueSlot(&fresh), size);
    ::VariantClear(&old);
}

void WriteOutputNoThrow(VARIANT* param, Variant value) noexcept
{
    try {
        WriteOutput(param, std::move(value));
    } catch (...) {
    }
}

}  // namespace kovar3
