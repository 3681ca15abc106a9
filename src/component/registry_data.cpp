#include "component/registry_data.h"

#include <oleauto.h>

#include "platform/errors.h"
#include "platform/params.h"
#include "platform/safearray.h"
#include "platform/text.h"
#include "registry/ModRegKovar.h"

namespace kovar3 {
namespace {

// The integer and floating-point types, and currency: the numbers an element or a value can be
// stored as in the variant's own slot.
bool IsNumberType(VARTYPE type)
{
    switch (type) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_R4:
    case VT_R8:
    case VT_CY: return true;
    default: return false;
    }
}

// Element `index` of a one-dimensional array, as a variant. Throws ConversionError when the
// index is outside the array (a lower bound above 0, say) or the element type is not one a
// script could hand us.
Variant ElementAt(SAFEARRAY* array, LONG index)
{
    VARTYPE type = VT_EMPTY;
    if (FAILED(::SafeArrayGetVartype(array, &type))) throw ConversionError(DISP_E_TYPEMISMATCH);
    Variant element;
    VARIANT* slot = element.put();
    HRESULT hr = DISP_E_TYPEMISMATCH;
    if (type == VT_VARIANT) {
        hr = ::SafeArrayGetElement(array, &index, slot);
    } else if (type == VT_DECIMAL) {
        hr = ::SafeArrayGetElement(array, &index, &V_DECIMAL(slot));
        if (SUCCEEDED(hr)) V_VT(slot) = VT_DECIMAL;
    } else if (IsNumberType(type) || type == VT_DATE || type == VT_BOOL || type == VT_ERROR ||
               type == VT_BSTR) {
        hr = ::SafeArrayGetElement(array, &index, &V_I4(slot));
        if (SUCCEEDED(hr)) V_VT(slot) = type;
    }
    if (FAILED(hr)) throw ConversionError(hr);
    return element;
}

// Calls `take` for every element from index 0 to the upper bound, in order.
template <typename Take>
void ForEachElement(const VARIANT& data, Take&& take)
{
    SAFEARRAY* array = (V_VT(&data) & VT_BYREF) ? *V_ARRAYREF(&data) : V_ARRAY(&data);
    // Elements are addressed by one index: an array of more dimensions cannot be read so.
    if (!array || ::SafeArrayGetDim(array) != 1) throw ConversionError(DISP_E_BADINDEX);
    LONG upper = -1;
    if (FAILED(::SafeArrayGetUBound(array, 1, &upper))) throw ConversionError(DISP_E_BADINDEX);
    for (LONG i = 0; i <= upper; ++i) take(ElementAt(array, i).get());
}

}  // namespace

ModRegVals::TypedValue PrepareValue(const VARIANT& data, const std::string& code)
{
    ModRegVals::TypedValue out;
    if (code == "S" || code == "X") {
        out.kind = code == "S" ? REG_SZ : REG_EXPAND_SZ;
        out.bytes = ValueText(data);
        out.bytes += '\0';
    } else if (code == "M") {
        out.kind = REG_MULTI_SZ;
        ForEachElement(data, [&](const VARIANT& element) {
            // A NUL inside an element would end it in the stored list and start another one
            // there: the element ends at its first NUL, as a name does.
            const VARTYPE vt = V_VT(&element);
            if (vt != VT_EMPTY && vt != VT_NULL)
                out.bytes += ModRegKovar::RegistryText(ValueText(element));
            out.bytes += '\0';
        });
        out.bytes += '\0';  // ends the list: the stored list ends in two NULs
    } else if (code == "D") {
        out.kind = REG_DWORD;
        const long number = V_I4(&ConvertValue(data, VT_I4).get());
        out.bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
    } else if (code == "B") {
        out.kind = REG_BINARY;
        ForEachElement(data, [&](const VARIANT& element) {
            if (!IsNumeric(element)) throw BadBinaryElement();
            const double value = V_R8(&ConvertValue(element, VT_R8).get());
            if (!(value > -1 && value < 256)) throw BadBinaryElement();
            // Rounds half to even; 255.5 rounds to 256, which is no byte.
            out.bytes += static_cast<char>(V_UI1(&ConvertValue(element, VT_UI1).get()));
        });
    } else if (code == "BH") {
        out.kind = REG_BINARY;
        ForEachElement(data, [&](const VARIANT& element) {
            const std::string text = UpperAscii(ValueText(element));
            if (text.size() != 2) throw BadBinaryElement();
            const int high = HexDigitValue(text[0]);
            const int low = HexDigitValue(text[1]);
            if (high < 0 || low < 0) throw BadBinaryElement();
            out.bytes += static_cast<char>(high * 16 + low);
        });
    } else {
        throw ConversionError(DISP_E_TYPEMISMATCH);  // callers pass known codes only
    }
    return out;
}

bool IsNumeric(const VARIANT& value) noexcept
{
    const VARTYPE type = V_VT(&value);
    if (type == VT_EMPTY || type == VT_BOOL || type == VT_DECIMAL || IsNumberType(type))
        return true;
    if (type != VT_BSTR) return false;
    try {
        ConvertValue(value, VT_R8);
        return true;
    } catch (...) {
        return false;
    }
}

Variant ReadDataVariant(const ModRegVals::ReadData& data)
{
    struct Build {
        Variant operator()(const std::string& text) const { return Variant::Text(text); }
        Variant operator()(long number) const { return Variant::I4(number); }
        Variant operator()(const ModRegVals::Bytes& bytes) const
        {
            SafeArrayBuilder array(bytes.size());
            for (unsigned char byte : bytes) array.Add(Variant::I2(static_cast<short>(byte)));
            return array.Build();
        }
        Variant operator()(const ModRegVals::Pieces& pieces) const
        {
            SafeArrayBuilder array(pieces.size());
            for (const std::string& piece : pieces) array.Add(Variant::Text(piece));
            return array.Build();
        }
    };
    return std::visit(Build{}, data);
}

}  // namespace kovar3
