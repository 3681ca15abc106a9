// The calling convention every member shares, seen through IDispatch as a script sees it:
// name lookup, parameter conversion, outputs written into the caller's variables (or lost
// with a literal), result types, and errors that reach the caller.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "kovar3_h.h"
#include "support/dispatch_client.h"

namespace kovar3::test {
namespace {

class CallingConvention : public ::testing::Test {
protected:
    void SetUp() override
    {
        ops_ = CreateByProgId(L"Kovar3.Ops");
        ASSERT_TRUE(ops_);
    }
    ComPtr<IDispatch> ops_;
};

TEST_F(CallingConvention, NamesResolveWithoutRegardToCase)
{
    EXPECT_EQ(DispIdOf(ops_.get(), L"getdriveinfo"), 0x60030011);
    EXPECT_EQ(DispIdOf(ops_.get(), L"GETOPVERSION"), 0x60030008);
    EXPECT_EQ(DispIdOf(ops_.get(), L"RegDeleteVal"), 0x60030013);
    EXPECT_EQ(DispIdOf(ops_.get(), L"NoSuchMember"), DISPID_UNKNOWN);

    // 0x60030012 belongs to no member.
    DISPPARAMS none{};
    Variant result;
    EXCEPINFO exception{};
    EXPECT_EQ(ops_->Invoke(0x60030012, IID_NULL, 0, DISPATCH_METHOD, &none, result.put(),
                           &exception, nullptr),
              DISP_E_MEMBERNOTFOUND);

    ComPtr<IDispatch> ini = CreateByProgId(L"Kovar3.INIEdit");
    EXPECT_EQ(DispIdOf(ini.get(), L"writeinisection"), 0x60030007);
}

TEST_F(CallingConvention, ResultTypesFollowThePath)
{
    struct Case {
        const wchar_t* member;
        VARTYPE type;
    };
    const Case cases[] = {
        {L"GetColorDepthBPP", VT_I4},  // a measurement
        {L"GetCurUser", VT_BSTR},
        {L"GetCompName", VT_BSTR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        CallOutcome out = CallByRef(ops_.get(), c.member);
        ASSERT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), c.type);
    }
    Variant version;
    CallOutcome out = CallByRef(ops_.get(), L"GetOpVersion", {version.address()});
    ASSERT_EQ(out.hr, S_OK);
    EXPECT_EQ(out.result.type(), VT_I2);  // a status
    EXPECT_EQ(V_I2(&out.result.get()), 0);
}

TEST_F(CallingConvention, OutputsReplaceTheCallersVariable)
{
    // Whatever the variables held before (a text, an array, Null) is released and replaced.
    Variant width = Variant::Text("old");
    Variant height = Null();
    CallOutcome out =
        CallByRef(ops_.get(), L"GetScreenPixels", {width.address(), height.address()});
    ASSERT_EQ(out.hr, S_OK);
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(width.type(), VT_I4);
    EXPECT_EQ(height.type(), VT_I4);
    EXPECT_GT(V_I4(&width.get()), 0);
}

TEST_F(CallingConvention, LiteralOutputsAreLostWithoutError)
{
    // JScript and literals pass by value: the member succeeds and the caller's value stays.
    const Variant literal = Variant::I4(5);
    CallOutcome out = CallByValue(ops_.get(), L"GetOpVersion", {&literal.get()});
    ASSERT_EQ(out.hr, S_OK);
    EXPECT_EQ(out.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(literal.type(), VT_I4);
    EXPECT_EQ(V_I4(&literal.get()), 5);

    const Variant text = Variant::Text("x");
    out = CallByValue(ops_.get(), L"GetMemory", {&text.get(), &text.get()});
    ASSERT_EQ(out.hr, S_OK);
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(TextOf(text.get()), L"x");
}

TEST_F(CallingConvention, TypedReferenceOutputsAreConverted)
{
    // A typed VBA variable arrives as VT_BYREF|VT_I4 or VT_BYREF|VT_BSTR and keeps its type.
    LONG width = 0;
    Bstr height(L"old");
    VARIANT width_ref, height_ref;
    V_VT(&width_ref) = VT_BYREF | VT_I4;
    V_I4REF(&width_ref) = &width;
    V_VT(&height_ref) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&height_ref) = height.address();
    DISPPARAMS params{nullptr, nullptr, 2, 0};
    VARIANT args[2] = {height_ref, width_ref};  // reversed
    params.rgvarg = args;
    Variant result;
    ASSERT_EQ(ops_->Invoke(DispIdOf(ops_.get(), L"GetScreenPixels"), IID_NULL, 0, DISPATCH_METHOD,
                           &params, result.put(), nullptr, nullptr),
              S_OK);
    EXPECT_EQ(V_I2(&result.get()), 0);
    EXPECT_GT(width, 0);
    EXPECT_GT(height.text().size(), 0u);
    EXPECT_NE(height.text(), L"old");
}

struct EscapingCase {
    const wchar_t* member;
    Variant (*argument)();
    int number;  // Err.Number a script reads
};

TEST_F(CallingConvention, LateTrapConversionFailuresReachTheCaller)
{
    const EscapingCase cases[] = {
        {L"ExitWin", [] { return Null(); }, 94},                // invalid use of Null
        {L"ExitWin", [] { return Variant::Text("abc"); }, 13},  // type mismatch
        {L"ExitWin", [] { return Variant::I4(70000); }, 6},     // overflow of a 16-bit mode
        {L"GetPEFile", [] { return Null(); }, 94},
    };
    for (const EscapingCase& c : cases) {
        SCOPED_TRACE(c.member);
        Variant argument = c.argument();
        CallOutcome out = CallByRef(ops_.get(), c.member, {argument.address()});
        ASSERT_EQ(out.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(out.scode, static_cast<HRESULT>(0x800A0000 | c.number));
        EXPECT_FALSE(out.description.empty());
    }

    // RegListKeys reads its hive and path before its trap; its list is not written then.
    Variant key = Null(), path = Variant::Text("Software"), list = Sentinel();
    CallOutcome out =
        CallByRef(ops_.get(), L"RegListKeys", {key.address(), path.address(), list.address()});
    ASSERT_EQ(out.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(out.scode, static_cast<HRESULT>(0x800A005E));
    EXPECT_TRUE(IsSentinel(list.get()));
}

TEST_F(CallingConvention, RaisedErrorsCarryNumberSourceAndDescription)
{
    // A number where text is expected works on its decimal text: a file named "5".
    Variant five = Variant::I4(5);
    CallOutcome out = CallByRef(ops_.get(), L"GetPEFile", {five.address()});
    ASSERT_EQ(out.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(out.scode, static_cast<HRESULT>(0x800A0001));
    EXPECT_EQ(out.source, L"Ops:GetPEFile");
    EXPECT_EQ(out.description, L"Bad file path.");

    // Through the vtable: a failure HRESULT and the thread's error information.
    ComPtr<_Ops> vtable;
    ASSERT_EQ(ops_->QueryInterface(IID__Ops, reinterpret_cast<void**>(vtable.put())), S_OK);
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(ops_->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.put())),
              S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__Ops), S_OK);
    Variant missing = Variant::Text("C:\\no\\such\\file.dll");
    _PEFile* file = nullptr;
    EXPECT_EQ(vtable->GetPEFile(missing.address(), &file), static_cast<HRESULT>(0x800A0001));
    EXPECT_EQ(file, nullptr);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(::GetErrorInfo(0, info.put()), S_OK);
    Bstr source;
    info->GetSource(source.put());
    EXPECT_EQ(source.text(), L"Ops:GetPEFile");
}

}  // namespace
}  // namespace kovar3::test
