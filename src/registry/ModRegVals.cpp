#include "registry/ModRegVals.h"

#include <oleauto.h>

#include <cstring>
#include <vector>

#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/params.h"
#include "platform/registry_text.h"
#include "platform/safearray.h"
#include "platform/text.h"
#include "platform/unique.h"

namespace kovar3::ModRegVals {
namespace {

ReadOutcome Outcome(long status, Variant data, const char* type)
{
    return {status, std::move(data), type};
}

ReadOutcome Failed(long status, const char* type)
{
    return Outcome(status, Variant::Text(""), type);
}

// Queries `name` again into a buffer of `capacity` bytes; the size read replaces `size`.
LONG QueryInto(HKEY key, const std::string& name, std::vector<char>& buffer, DWORD capacity,
               DWORD& size)
{
    buffer.assign(capacity, '\0');
    DWORD type = REG_NONE;
    size = capacity;
    return ::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
}

Variant ByteArray(const char* bytes, DWORD size)
{
    SafeArrayBuilder array(size);
    for (DWORD i = 0; i < size; ++i)
        array.Add(Variant::I2(static_cast<short>(static_cast<unsigned char>(bytes[i]))));
    return array.Build();
}

// The pieces between the NUL characters of a multi-string's first (size - 1) bytes. The list
// ends in two NULs of which only the last is dropped, so the last piece is always "".
Variant MultiStringArray(const char* bytes, DWORD size)
{
    SafeArrayBuilder array;
    const char* start = bytes;
    const char* end = bytes + size - 1;
    for (const char* p = start; p < end; ++p) {
        if (*p == '\0') {
            array.Add(Variant::Text(std::string(start, p)));
            start = p + 1;
        }
    }
    array.Add(Variant::Text(std::string(start, end)));
    return array.Build();
}

// Reads a value whose first query into the 255-byte buffer gave `result`, `type` and `size`.
ReadOutcome ReadByType(HKEY key, const std::string& name, LONG result, DWORD type, DWORD size,
                       const char* text)
{
    switch (type) {
    case REG_SZ:
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "S");
        if (size < 2) return Failed(kNoData, "S");
        return Outcome(kRead, Variant::Text(std::string(text, size - 1)), "S");

    case REG_EXPAND_SZ: {
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "S");
        if (size < 2) return Failed(kNoData, "S");
        std::string expanded;
        if (!ExpandEnvironment(std::string(text, size - 1), expanded)) return Failed(kNoData, "S");
        return Outcome(kRead, Variant::Text(expanded), "S");
    }

    case REG_DWORD: {
        // The value is read into 4 bytes: stored data longer than that does not fit.
        if (result != ERROR_SUCCESS || size > sizeof(DWORD)) return Failed(kCannotRead, "D");
        if (size < 1) return Failed(kNoData, "D");
        DWORD number = 0;
        std::memcpy(&number, text, size);
        return Outcome(kRead, Variant::I4(static_cast<long>(number)), "D");
    }

    case REG_BINARY: {
        std::vector<char> bytes(text, text + (result == ERROR_SUCCESS ? size : 0));
        if (result == ERROR_MORE_DATA) result = QueryInto(key, name, bytes, size, size);
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "B");
        if (size < 1) return Failed(kNoData, "B");
        try {
            return Outcome(kRead, ByteArray(bytes.data(), size), "B");
        } catch (...) {
            return Failed(kReadError, "");
        }
    }

    case REG_MULTI_SZ: {
        std::vector<char> bytes(text, text + (result == ERROR_SUCCESS ? size : 0));
        // One byte more than the data needs, all NUL, so the last piece always ends.
        if (result == ERROR_MORE_DATA) result = QueryInto(key, name, bytes, size + 1, size);
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "M");
        if (size < 2) return Failed(kNoData, "M");
        return Outcome(kRead, MultiStringArray(bytes.data(), size), "M");
    }

    default:  // REG_NONE (which a missing value also gives), REG_LINK, REG_QWORD, ...
        return Failed(kNoSuchValue, "");
    }
}

// The default value: a REG_SZ one is read through the 255-byte buffer and anything that
// keeps it from being read is status 1; one of another type is read by its type like a named
// value. A missing or empty default value is status 1 with type "S".
ReadOutcome ReadDefault(HKEY key, LONG result, DWORD type, DWORD size, const char* text)
{
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return Failed(kNoData, "S");
    if (type == REG_SZ) {
        if (result != ERROR_SUCCESS || size < 2) return Failed(kNoData, "S");
        return Outcome(kRead, Variant::Text(std::string(text, size - 1)), "S");
    }
    ReadOutcome outcome = ReadByType(key, "", result, type, size, text);
    if (outcome.status == kNoData || (type == REG_NONE && size == 0)) return Failed(kNoData, "S");
    return outcome;
}

// --- Writing --------------------------------------------------------------------------------

struct Prepared {
    DWORD kind = REG_NONE;
    std::string bytes;  // what RegSetValueExA receives
};

class BadElement {};  // a binary element that is not what the type code asks for

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
    switch (type) {
    case VT_VARIANT: hr = ::SafeArrayGetElement(array, &index, slot); break;
    case VT_DECIMAL:
        hr = ::SafeArrayGetElement(array, &index, &V_DECIMAL(slot));
        if (SUCCEEDED(hr)) V_VT(slot) = VT_DECIMAL;
        break;
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
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
    case VT_ERROR:
    case VT_BSTR:
        hr = ::SafeArrayGetElement(array, &index, &V_I4(slot));
        if (SUCCEEDED(hr)) V_VT(slot) = type;
        break;
    default: break;
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

std::string TextOf(const VARIANT& value)
{
    const Variant text = ConvertValue(value, VT_BSTR);
    const BSTR s = V_BSTR(&text.get());
    return ToAnsi(s, ::SysStringLen(s));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Prepared Prepare(const VARIANT& data, const std::string& code)
{
    Prepared out;
    if (code == "S" || code == "X") {
        out.kind = code == "S" ? REG_SZ : REG_EXPAND_SZ;
        out.bytes = TextOf(data);
        out.bytes += '\0';
    } else if (code == "M") {
        out.kind = REG_MULTI_SZ;
        ForEachElement(data, [&](const VARIANT& element) {
            const VARTYPE vt = V_VT(&element);
            if (vt != VT_EMPTY && vt != VT_NULL) out.bytes += TextOf(element);
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
            if (!IsNumeric(element)) throw BadElement();
            const double value = V_R8(&ConvertValue(element, VT_R8).get());
            if (!(value > -1 && value < 256)) throw BadElement();
            // Rounds half to even; 255.5 rounds to 256, which is no byte.
            out.bytes += static_cast<char>(V_UI1(&ConvertValue(element, VT_UI1).get()));
        });
    } else if (code == "BH") {
        out.kind = REG_BINARY;
        ForEachElement(data, [&](const VARIANT& element) {
            const std::string text = UpperAscii(TextOf(element));
            if (text.size() != 2) throw BadElement();
            const int high = HexDigit(text[0]);
            const int low = HexDigit(text[1]);
            if (high < 0 || low < 0) throw BadElement();
            out.bytes += static_cast<char>(high * 16 + low);
        });
    } else {
        throw ConversionError(DISP_E_TYPEMISMATCH);  // callers pass known codes only
    }
    return out;
}

}  // namespace

ReadOutcome RegReadTyped(HKEY root, const std::string& path, const std::string& name) noexcept
{
    try {
        RegKey key;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
            return Failed(kCannotOpenKey, "");
        // One query gives the type, the size, and the data when it fits the text buffer; a
        // multi-string or binary value that does not fit is read again at its own size.
        char text[kRegTextBuffer] = {};
        DWORD type = REG_NONE;
        DWORD size = kRegTextBuffer;
        const LONG result = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(text), &size);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) size = 0;
        if (name.empty()) return ReadDefault(key.get(), result, type, size, text);
        return ReadByType(key.get(), name, result, type, size, text);
    } catch (...) {
        return Failed(kReadError, "");
    }
}

short RegWriteTyped(HKEY root, const std::string& path, const std::string& name,
                    const VARIANT& data, const std::string& code) noexcept
{
    try {
        const Prepared value = Prepare(data, code);
        RegKey key;
        SECURITY_ATTRIBUTES security{};
        DWORD disposition = 0;
        char no_class[] = "";
        if (::RegCreateKeyExA(root, path.c_str(), 0, no_class, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, &security, key.put(), &disposition) != ERROR_SUCCESS)
            return kCannotCreateKey;
        // An empty binary array has no byte to write.
        if (value.kind == REG_BINARY && value.bytes.empty()) return kWriteError;
        if (value.bytes.size() > MAXDWORD) return kWriteError;
        const LONG result = ::RegSetValueExA(key.get(), name.c_str(), 0, value.kind,
                                             reinterpret_cast<const BYTE*>(value.bytes.data()),
                                             static_cast<DWORD>(value.bytes.size()));
        return result == ERROR_SUCCESS ? kWritten : kCannotWrite;
    } catch (const BadElement&) {
        return kBadBinaryElement;
    } catch (...) {
        return kWriteError;
    }
}

bool IsNumeric(const VARIANT& value) noexcept
{
    switch (V_VT(&value)) {
    case VT_EMPTY:
    case VT_BOOL:
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
    case VT_CY:
    case VT_DECIMAL: return true;
    case VT_BSTR:
        try {
            ConvertValue(value, VT_R8);
            return true;
        } catch (...) {
            return false;
        }
    default: return false;
    }
}

}  // namespace kovar3::ModRegVals
