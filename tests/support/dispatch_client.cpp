#include "support/dispatch_client.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace kovar3::test {
namespace {

CallOutcome Invoke(IDispatch* object, const wchar_t* name, std::vector<VARIANT>& reversed,
                   WORD flags)
{
    CallOutcome outcome;
    const DISPID id = DispIdOf(object, name);
    if (id == DISPID_UNKNOWN) {
        outcome.hr = DISP_E_UNKNOWNNAME;
        return outcome;
    }
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    UINT arg_error = 0;
    outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                outcome.result.put(), &exception, &arg_error);
    if (outcome.hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn)
        exception.pfnDeferredFillIn(&exception);
    const Bstr source = Bstr::Adopt(exception.bstrSource);
    const Bstr description = Bstr::Adopt(exception.bstrDescription);
    const Bstr help_file = Bstr::Adopt(exception.bstrHelpFile);
    if (outcome.hr == DISP_E_EXCEPTION) {
        outcome.scode = exception.scode;
        outcome.source = source.text();
        outcome.description = description.text();
    }
    return outcome;
}

}  // namespace

ComPtr<IDispatch> CreateByProgId(const wchar_t* prog_id)
{
    ComPtr<IDispatch> object;
    CLSID clsid{};
    HRESULT hr = ::CLSIDFromProgID(prog_id, &clsid);
    EXPECT_EQ(hr, S_OK) << "ProgID not registered: run the tests through scripts/test.sh";
    if (FAILED(hr)) return object;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(object.put()));
    EXPECT_EQ(hr, S_OK);
    return object;
}

DISPID DispIdOf(IDispatch* object, const wchar_t* name)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return DISPID_UNKNOWN;
    return id;
}

CallOutcome CallByRef(IDispatch* object, const wchar_t* name, std::vector<VARIANT*> args,
                      WORD flags)
{
    std::vector<VARIANT> reversed(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        VARIANT& ref = reversed[args.size() - 1 - i];
        V_VT(&ref) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&ref) = args[i];
    }
    return Invoke(object, name, reversed, flags);
}

CallOutcome CallByRef(IDispatch* object, const wchar_t* name, std::vector<Variant>& args,
                      WORD flags)
{
    std::vector<VARIANT*> refs;
    for (Variant& arg : args) refs.push_back(arg.address());
    return CallByRef(object, name, refs, flags);
}

std::vector<Variant> TextArgs(std::initializer_list<std::wstring> texts)
{
    std::vector<Variant> out;
    for (const std::wstring& text : texts) out.push_back(Variant::WideText(text));
    return out;
}

CallOutcome CallByValue(IDispatch* object, const wchar_t* name,
                        const std::vector<const VARIANT*>& args, WORD flags)
{
    // Shallow copies: Invoke must not change or free a by-value argument.
    std::vector<VARIANT> reversed(args.size());
    for (size_t i = 0; i < args.size(); ++i) reversed[args.size() - 1 - i] = *args[i];
    return Invoke(object, name, reversed, flags);
}

std::wstring TextOf(const VARIANT& v)
{
    if (V_VT(&v) != VT_BSTR || !V_BSTR(&v)) return {};
    return std::wstring(V_BSTR(&v), ::SysStringLen(V_BSTR(&v)));
}

std::string AnsiTextOf(const VARIANT& v) { return ToAnsi(TextOf(v)); }

std::vector<Variant> ElementsOf(const VARIANT& v)
{
    std::vector<Variant> out;
    if (V_VT(&v) != (VT_ARRAY | VT_VARIANT)) return out;
    SAFEARRAY* array = V_ARRAY(&v);
    LONG low = 0, high = -1;
    ::SafeArrayGetLBound(array, 1, &low);
    ::SafeArrayGetUBound(array, 1, &high);
    for (LONG i = low; i <= high; ++i) {
        Variant element;
        ::SafeArrayGetElement(array, &i, element.put());
        out.push_back(std::move(element));
    }
    return out;
}

LONG LowerBoundOf(const VARIANT& v)
{
    LONG low = -1;
    if (V_VT(&v) & VT_ARRAY) ::SafeArrayGetLBound(V_ARRAY(&v), 1, &low);
    return low;
}

Variant Sentinel() { return Variant::Text("untouched"); }
bool IsSentinel(const VARIANT& v) { return V_VT(&v) == VT_BSTR && TextOf(v) == L"untouched"; }

Variant Null()
{
    Variant v;
    V_VT(v.put()) = VT_NULL;
    return v;
}

}  // namespace kovar3::test
