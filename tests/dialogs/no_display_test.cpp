// Without a display no dialogue can open: every member gives its cancel answer at once.
// The test command runs this once more with no X display at all (KOVAR3_NO_DISPLAY=1); in the
// ordinary run, which has a display, it is skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/dialog_driver.h"
#include "support/dispatch_client.h"

namespace kovar3::test {
namespace {

TEST(DialogsWithoutDisplay, EveryMemberGivesItsCancelAnswer)
{
    const char* mode = std::getenv("KOVAR3_NO_DISPLAY");
    if (!mode || std::string(mode) != "1")
        GTEST_SKIP() << "runs in the test command's pass without a display";
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    ASSERT_TRUE(ops);
    struct Case {
        const wchar_t* member;
        int arguments;
        const wchar_t* answer;
    };
    const Case cases[] = {
        {L"OpenDlg", 3, L""},
        {L"OpenMultiDlg", 3, L""},
        {L"SaveDlg", 2, L""},
        {L"ColorDlg", 0, L"0"},  // not the black the dialogue would have opened on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.member);
        std::vector<Variant> args;
        std::vector<VARIANT*> refs;
        for (int i = 0; i < c.arguments; ++i) args.push_back(Variant::Text(""));
        for (Variant& a : args) refs.push_back(a.address());
        DialogDriver driver(nullptr, JustCancel());  // should a dialogue open after all
        const CallOutcome out = CallByRef(ops.get(), c.member, refs);
        EXPECT_FALSE(driver.Finish().found);
        ASSERT_EQ(out.result.type(), VT_BSTR);
        EXPECT_EQ(TextOf(out.result.get()), c.answer);
    }
}

}  // namespace
}  // namespace kovar3::test
