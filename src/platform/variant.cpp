#include "platform/variant.h"

#include <climits>
#include <new>

#include "platform/text.h"

namespace kovar3 {

Bstr::Bstr(const std::wstring& text)
{
    if (text.size() > UINT_MAX / 2) throw std::bad_alloc();
    s_ = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!s_) throw std::bad_alloc();
}

Bstr Bstr::FromAnsi(const std::string& text) { return Bstr(kovar3::FromAnsi(text)); }

Variant Variant::I2(short value) noexcept
{
    Variant v;
    V_VT(&v.v_) = VT_I2;
    V_I2(&v.v_) = value;
    return v;
}

Variant Variant::I4(long value) noexcept
{
    Variant v;
    V_VT(&v.v_) = VT_I4;
    V_I4(&v.v_) = value;
    return v;
}

Variant Variant::Bool(bool value) noexcept
{
    Variant v;
    V_VT(&v.v_) = VT_BOOL;
    V_BOOL(&v.v_) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::Text(const std::string& ansi) { return WideText(kovar3::FromAnsi(ansi)); }

Variant Variant::WideText(const std::wstring& text)
{
    Bstr s(text);
    Variant v;
    V_VT(&v.v_) = VT_BSTR;
    V_BSTR(&v.v_) = s.release();
    return v;
}

Variant Variant::Array(SAFEARRAY* owned) noexcept
{
    Variant v;
    V_VT(&v.v_) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&v.v_) = owned;
    return v;
}

Variant Variant::Dispatch(IDispatch* owned) noexcept
{
    Variant v;
    V_VT(&v.v_) = VT_DISPATCH;
    V_DISPATCH(&v.v_) = owned;
    return v;
}

Variant Variant::CopyOf(const VARIANT& source)
{
    Variant v;
    if (FAILED(::VariantCopy(&v.v_, AsInput(&source)))) throw std::bad_alloc();
    return v;
}

}  // namespace kovar3
