// Calling the component as a script does: create by ProgID, resolve names through
// IDispatch::GetIDsOfNames and invoke with VT_BYREF|VT_VARIANT arguments (VBScript) or with
// plain values (JScript).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "platform/unique.h"
#include "platform/variant.h"

namespace kovar3::test {

// Creates a registered class by ProgID through CoCreateInstance; fails the test when that
// cannot be done.
ComPtr<IDispatch> CreateByProgId(const wchar_t* prog_id);

struct CallOutcome {
    HRESULT hr = E_FAIL;       // what Invoke returned
    Variant result;            // the member's result
    HRESULT scode = S_OK;      // EXCEPINFO.scode when hr is DISP_E_EXCEPTION
    std::wstring source;       // EXCEPINFO.bstrSource
    std::wstring description;  // EXCEPINFO.bstrDescription
};

// Invokes `name` with each argument passed by reference: the member reads and writes the
// caller's variants, as with VBScript variables. Arguments are in call order.
CallOutcome CallByRef(IDispatch* object, const wchar_t* name, std::vector<VARIANT*> args = {},
                      WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET);

// The same with the caller's variants themselves as the arguments, in call order.
CallOutcome CallByRef(IDispatch* object, const wchar_t* name, std::vector<Variant>& args,
                      WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET);

// Text arguments for a call, in call order.
std::vector<Variant> TextArgs(std::initializer_list<std::wstring> texts);

// Invokes `name` with each argument passed by value, as JScript and literals do.
CallOutcome CallByValue(IDispatch* object, const wchar_t* name,
                        const std::vector<const VARIANT*>& args = {},
                        WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET);

// The DISPID a name resolves to, or DISPID_UNKNOWN.
DISPID DispIdOf(IDispatch* object, const wchar_t* name);

// Small helpers for expectations.
std::wstring TextOf(const VARIANT& v);  // the BSTR of a VT_BSTR variant ("" otherwise)
std::string AnsiTextOf(const VARIANT& v);
std::vector<Variant> ElementsOf(const VARIANT& v);  // copies of a VT_ARRAY|VT_VARIANT's elements
LONG LowerBoundOf(const VARIANT& v);

// A variant holding a sentinel text, to show that a member left an output alone.
Variant Sentinel();
bool IsSentinel(const VARIANT& v);

// Null, for hostile-argument cases.
Variant Null();

}  // namespace kovar3::test
