// Members whose work is not built yet answer by name with their own failure result and
// failure outputs, never with an automation error, whatever the arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/dispatch_client.h"

namespace kovar3::test {
namespace {

struct PendingCase {
    const wchar_t* member;
    int arguments;
    VARTYPE type;         // VT_EMPTY: no result
    long value;           // for integer results
    const wchar_t* text;  // for text results
};

const PendingCase kPending[] = {
    {L"ColorDlg", 0, VT_BSTR, 0, L"0"},
    {L"OpenDlg", 3, VT_BSTR, 0, L""},
    {L"OpenMultiDlg", 3, VT_BSTR, 0, L""},
    {L"SaveDlg", 2, VT_BSTR, 0, L""},
};

TEST(PendingMembers, AnswerWithTheirFailureResult)
{
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    ASSERT_TRUE(ops);
    for (const PendingCase& c : kPending) {
        for (const bool null_arguments : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.member << (null_arguments ? " with Null" : ""));
            std::vector<Variant> args(c.arguments);
            std::vector<VARIANT*> refs;
            for (Variant& a : args) {
                a = null_arguments ? Null() : Variant::Text("1");
                refs.push_back(a.address());
            }
            CallOutcome out = CallByRef(ops.get(), c.member, refs);
            ASSERT_EQ(out.hr, S_OK);
            ASSERT_EQ(out.result.type(), c.type);
            if (c.type == VT_I2) {
                EXPECT_EQ(V_I2(&out.result.get()), c.value);
            } else if (c.type == VT_I4) {
                EXPECT_EQ(V_I4(&out.result.get()), c.value);
            } else if (c.type == VT_BSTR) {
                EXPECT_EQ(TextOf(out.result.get()), c.text);
            }
        }
    }
}

}  // namespace
}  // namespace kovar3::test
