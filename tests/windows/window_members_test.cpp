// GetOpenWindowTitles, GetActiveWindowTitle, SetWindowActive and CloseProgram through IDispatch,
// against windows that a program of their own makes for each test (test_windows.h). Every test
// ends that program, on every path, before the next one starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/seams.h"
#include "platform/text.h"
#include "support/dispatch_client.h"
#include "windows/ModWindows.h"
#include "windows/test_windows.h"

namespace kovar3::test {
namespace {

Variant Text(const std::wstring& text) { return Variant::WideText(text); }

Variant Double(double value)
{
    Variant v;
    V_VT(v.put()) = VT_R8;
    V_R8(v.address()) = value;
    return v;
}

// 300 characters: more than the 254 a title is read with.
const std::wstring kLongTitle = L"Kovar3 Long " + std::wstring(288, L'x');

class WindowMembersTest : public ::testing::Test {
protected:
    void SetUp() override { ops_ = CreateByProgId(L"Kovar3.Ops"); }

    IDispatch* ops() const { return ops_.get(); }

    CallOutcome SetWindowActive(Variant title, Variant minimise)
    {
        return CallByRef(ops(), L"SetWindowActive", {title.address(), minimise.address()});
    }
    // The status, which must be a 32-bit integer.
    long ActivationStatus(const std::wstring& title, bool minimise = false)
    {
        const CallOutcome out = SetWindowActive(Text(title), Variant::Bool(minimise));
        EXPECT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), VT_I4);
        return out.result.type() == VT_I4 ? V_I4(&out.result.get()) : -99;
    }
    static bool IsForeground(HWND hwnd)
    {
        return WaitUntil([&] { return ::GetForegroundWindow() == hwnd; });
    }

private:
    ComPtr<IDispatch> ops_;
};

std::vector<std::string> ListedTitles(const VARIANT& titles)
{
    std::vector<std::string> out;
    for (const Variant& title : ElementsOf(titles)) {
        EXPECT_EQ(title.type(), VT_BSTR);
        out.push_back(AnsiTextOf(title.get()));
    }
    return out;
}

TEST_F(WindowMembersTest, GetOpenWindowTitlesListsVisibleTitledWindowsInOrder)
{
    TestWindows windows({L"show:Kovar3 Twin", L"show:Kovar3 Twin", L"min:Kovar3 Minimised",
                         L"hide:Kovar3 Hidden", L"notitle", L"show:" + kLongTitle, L"tray"});
    ASSERT_TRUE(windows.ready());

    // The window manager may still be settling the new windows' order: compare with a raw
    // listing that saw the same before and after the call.
    Variant titles = Sentinel();
    CallOutcome out;
    std::vector<std::string> raw, listed;
    for (int attempt = 0; attempt < 5; ++attempt) {
        raw.clear();
        for (const RawWindow& window : RawVisibleTitledWindows()) raw.push_back(window.title);
        out = CallByRef(ops(), L"GetOpenWindowTitles", {titles.address()});
        std::vector<std::string> after;
        for (const RawWindow& window : RawVisibleTitledWindows()) after.push_back(window.title);
        if (after == raw) break;
        PumpFor(200);
    }
    ASSERT_EQ(out.hr, S_OK);
    ASSERT_EQ(out.result.type(), VT_I4);
    ASSERT_EQ(titles.type(), VT_ARRAY | VT_VARIANT);
    EXPECT_EQ(LowerBoundOf(titles.get()), 0);
    listed = ListedTitles(titles.get());
    EXPECT_EQ(V_I4(&out.result.get()), static_cast<long>(listed.size()));
    EXPECT_EQ(listed, raw);  // the window manager's order
    const auto count = [&](const std::string& title) {
        return std::count(listed.begin(), listed.end(), title);
    };
    EXPECT_EQ(count("Kovar3 Twin"), 2);
    EXPECT_EQ(count("Kovar3 Minimised"), 1);
    EXPECT_EQ(count("Kovar3 Hidden"), 0);
    EXPECT_EQ(count(""), 0);  // neither the untitled window nor the taskbar
    EXPECT_EQ(count(ToAnsi(kLongTitle.substr(0, 254))), 1);

    // Passed by value, as JScript passes it: the titles are lost, the count is not.
    Variant literal = Variant::Text("");
    const CallOutcome by_value = CallByValue(ops(), L"GetOpenWindowTitles", {&literal.get()});
    EXPECT_EQ(by_value.hr, S_OK);
    EXPECT_EQ(by_value.result.type(), VT_I4);
}

TEST_F(WindowMembersTest, NoTitledWindowGivesZeroAndStatusOne)
{
    if (!RawVisibleTitledWindows().empty())
        GTEST_SKIP() << "this desktop has visible titled windows of its own";
    Variant titles = Sentinel();
    const CallOutcome out = CallByRef(ops(), L"GetOpenWindowTitles", {titles.address()});
    EXPECT_EQ(out.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(titles.type(), VT_BSTR);
    EXPECT_EQ(TextOf(titles.get()), L"");
    EXPECT_EQ(ActivationStatus(L"Kovar3 Anything"), 1);
}

TEST_F(WindowMembersTest, SetWindowActiveStatuses)
{
    TestWindows windows({L"show:Kovar3 Target", L"show:Kovar3 Other", L"min:Kovar3 Minimised"});
    ASSERT_TRUE(windows.ready());

    // Whole titles, letter case and all. The last one holds a character the code page lacks:
    // it names no window at all.
    const wchar_t* const misses[] = {L"Kovar3 target", L"Kovar3 Targe", L"Kovar3 Target ", L"",
                                     L"Kovar3 Target\u0444"};
    for (size_t i = 0; i < sizeof misses / sizeof misses[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "miss " << i);
        EXPECT_EQ(ActivationStatus(misses[i]), 2);
    }
    // Arguments that cannot be read count as "" and False; the member goes on.
    CallOutcome out = SetWindowActive(Null(), Variant::Bool(false));
    EXPECT_EQ(out.result.type(), VT_I4);
    EXPECT_EQ(V_I4(&out.result.get()), 2);
    out = SetWindowActive(Text(L"Kovar3 Other"), Null());
    EXPECT_EQ(out.result.type(), VT_I4);
    EXPECT_EQ(V_I4(&out.result.get()), 0);
    EXPECT_TRUE(IsForeground(windows.handle(1)));

    EXPECT_EQ(ActivationStatus(L"Kovar3 Target"), 0);
    EXPECT_TRUE(IsForeground(windows.handle(0)));
    // Already in front: nothing changes, not even with the minimise request.
    EXPECT_EQ(ActivationStatus(L"Kovar3 Target", true), 3);
    EXPECT_FALSE(::IsIconic(windows.handle(1)));

    // A minimised window is restored.
    EXPECT_TRUE(::IsIconic(windows.handle(2)));
    EXPECT_EQ(ActivationStatus(L"Kovar3 Minimised"), 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(windows.handle(2)); }));
    EXPECT_TRUE(IsForeground(windows.handle(2)));
}

TEST_F(WindowMembersTest, SetWindowActiveTakesTheFirstOfTwoAlikeInListingOrder)
{
    TestWindows windows({L"show:Kovar3 Twin", L"show:Kovar3 Twin"});
    ASSERT_TRUE(windows.ready());
    HWND first = nullptr;
    for (const RawWindow& window : RawVisibleTitledWindows()) {
        if (window.title == "Kovar3 Twin") {
            first = window.handle;
            break;
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ActivationStatus(L"Kovar3 Twin"), 0);
    EXPECT_TRUE(IsForeground(first));
}

TEST_F(WindowMembersTest, SetWindowActiveMatchesLongTitlesByTheirFirst254Characters)
{
    TestWindows windows({L"show:" + kLongTitle, L"show:Kovar3 Other"});
    ASSERT_TRUE(windows.ready());
    EXPECT_EQ(ActivationStatus(kLongTitle), 2);
    EXPECT_EQ(ActivationStatus(kLongTitle.substr(0, 254)), 0);
    EXPECT_TRUE(IsForeground(windows.handle(0)));

    const CallOutcome active = CallByRef(ops(), L"GetActiveWindowTitle");
    EXPECT_EQ(active.hr, S_OK);
    EXPECT_EQ(active.result.type(), VT_BSTR);
    EXPECT_EQ(TextOf(active.result.get()), kLongTitle.substr(0, 254));
}

TEST_F(WindowMembersTest, GetActiveWindowTitleReadsTheForegroundWindow)
{
    TestWindows windows({L"show:Kovar3 Front", L"show:Kovar3 Back"});
    ASSERT_TRUE(windows.ready());
    for (size_t i : {0u, 1u}) {
        ASSERT_EQ(ActivationStatus(i == 0 ? L"Kovar3 Front" : L"Kovar3 Back"), 0);
        ASSERT_TRUE(IsForeground(windows.handle(i)));
        const CallOutcome out = CallByRef(ops(), L"GetActiveWindowTitle");
        EXPECT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), VT_BSTR);
        EXPECT_EQ(TextOf(out.result.get()), i == 0 ? L"Kovar3 Front" : L"Kovar3 Back");
    }
}

// A title with a character the code page lacks is read as "Kovar3 Caf?": it is listed so, but
// activating "Kovar3 Caf?" must reach the window that has that title, or none.
TEST_F(WindowMembersTest, SetWindowActiveNeverReachesALookAlikeTitle)
{
    const std::wstring cyrillic = L"Kovar3 Caf\u0444";
    {
        TestWindows windows({L"show:" + cyrillic});
        ASSERT_TRUE(windows.ready());
        Variant titles;
        CallByRef(ops(), L"GetOpenWindowTitles", {titles.address()});
        const std::vector<std::string> listed = ListedTitles(titles.get());
        EXPECT_NE(std::find(listed.begin(), listed.end(), "Kovar3 Caf?"), listed.end());
        EXPECT_EQ(ActivationStatus(L"Kovar3 Caf?"), 2);
    }
    // The real "Kovar3 Caf?" is made first, so the look-alike is listed before it.
    TestWindows windows({L"show:Kovar3 Caf?", L"show:" + cyrillic});
    ASSERT_TRUE(windows.ready());
    EXPECT_EQ(ActivationStatus(L"Kovar3 Caf?"), 0);
    EXPECT_TRUE(IsForeground(windows.handle(0)));
}

TEST_F(WindowMembersTest, MinimiseRequestGoesToTheTaskbarFirst)
{
    TestWindows windows({L"show:Kovar3 Target", L"show:Kovar3 Bystander", L"tray"});
    ASSERT_TRUE(windows.ready());
    EXPECT_EQ(ActivationStatus(L"Kovar3 Target", true), 0);
    EXPECT_EQ(windows.NewMessages(), std::vector<std::string>{"2 WM_COMMAND 419 0"});
    // The taskbar minimised everything; the target was restored and brought to the front.
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(windows.handle(1)) != 0; }));
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(windows.handle(0)); }));
    EXPECT_TRUE(IsForeground(windows.handle(0)));
}

// The taskbar here ends its program, target window and all, when asked to minimise all
// windows: the activation that follows is refused.
TEST_F(WindowMembersTest, RefusedActivationIsStatusFour)
{
    TestWindows windows({L"show:Kovar3 Doomed", L"tray-ends"});
    ASSERT_TRUE(windows.ready());
    EXPECT_EQ(ActivationStatus(L"Kovar3 Doomed", true), 4);
    EXPECT_TRUE(windows.Ended(5000));
}

// Wine always has a taskbar window; the platform seam takes it away for this one routine.
HWND WINAPI NoTaskbar(LPCSTR, LPCSTR) { return nullptr; }

TEST(ActivateWindow, WithoutATaskbarSkipsTheMinimiseRequest)
{
    TestWindows windows({L"show:Kovar3 Target", L"tray"});
    ASSERT_TRUE(windows.ready());
    const auto saved = Seams().find_window;
    Seams().find_window = NoTaskbar;
    const long status = ModWindows::ActivateWindow("Kovar3 Target", ModWindows::kMinimiseAllFirst);
    Seams().find_window = saved;
    EXPECT_EQ(status, ModWindows::kActivated);
    EXPECT_EQ(windows.NewMessages(), std::vector<std::string>{});
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == windows.handle(0); }));
}

struct CloseCase {
    const char* label;
    Variant (*title)();
    Variant (*force)();
    std::vector<std::string> messages;  // what the windows receive
};

const CloseCase kCloseCases[] = {
    {"close",
     [] { return Text(L"Kovar3 Target"); },
     [] { return Variant::I2(1); },
     {"0 WM_CLOSE 0 0"}},
    {"quit",
     [] { return Text(L"Kovar3 Target"); },
     [] { return Variant::I2(2); },
     {"0 WM_QUIT 0 0"}},
    {"quit given as text",
     [] { return Text(L"Kovar3 Target"); },
     [] { return Text(L"2"); },
     {"0 WM_QUIT 0 0"}},
    {"2.5 rounds to 2",
     [] { return Text(L"Kovar3 Target"); },
     [] { return Double(2.5); },
     {"0 WM_QUIT 0 0"}},
    {"hidden windows are found",
     [] { return Text(L"Kovar3 Hidden"); },
     [] { return Variant::I4(1); },
     {"1 WM_CLOSE 0 0"}},
    {"mode 0", [] { return Text(L"Kovar3 Target"); }, [] { return Variant::I2(0); }, {}},
    {"mode 3", [] { return Text(L"Kovar3 Target"); }, [] { return Variant::I2(3); }, {}},
    {"mode -1", [] { return Text(L"Kovar3 Target"); }, [] { return Variant::I2(-1); }, {}},
    {"2.6 rounds to 3", [] { return Text(L"Kovar3 Target"); }, [] { return Double(2.6); }, {}},
    {"mode out of range",
     [] { return Text(L"Kovar3 Target"); },
     [] { return Variant::I4(65537); },
     {}},
    {"mode not a number", [] { return Text(L"Kovar3 Target"); }, [] { return Text(L"two"); }, {}},
    {"mode Null", [] { return Text(L"Kovar3 Target"); }, [] { return Null(); }, {}},
    {"empty title", [] { return Text(L""); }, [] { return Variant::I2(1); }, {}},
    {"title Null", [] { return Null(); }, [] { return Variant::I2(1); }, {}},
    {"part of a title", [] { return Text(L"Kovar3 Targ"); }, [] { return Variant::I2(1); }, {}},
    // The window manager would read the title only up to the NUL.
    {"title with a NUL",
     [] { return Text(std::wstring(L"Kovar3 Target\0x", 15)); },
     [] { return Variant::I2(1); },
     {}},
    {"a megabyte of title",
     [] { return Text(std::wstring(1 << 20, L'K')); },
     [] { return Variant::I2(1); },
     {}},
};

TEST(CloseProgram, PostsCloseOrQuitToTheNamedWindowOnly)
{
    TestWindows windows({L"show:Kovar3 Target", L"hide:Kovar3 Hidden"});
    ASSERT_TRUE(windows.ready());
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    for (const CloseCase& c : kCloseCases) {
        SCOPED_TRACE(c.label);
        Variant title = c.title(), force = c.force();
        const CallOutcome out =
            CallByRef(ops.get(), L"CloseProgram", {title.address(), force.address()});
        EXPECT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), VT_EMPTY);
        EXPECT_EQ(windows.NewMessages(), c.messages);
    }
}

Variant ArrayOfTwo()
{
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_VARIANT, 0, 2);
    return Variant::Array(array);
}

// Hostile arguments in every parameter of the seven members: no automation error, no call
// that blocks, and no message to a window that was not named.
TEST(WindowMembers, HostileArgumentsNeverRaiseNorReachAnotherWindow)
{
    TestWindows windows({L"show:Kovar3 Bystander", L"hide:Kovar3 Bystander"});
    ASSERT_TRUE(windows.ready());
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    const std::vector<Variant (*)()> hostile = {
        [] { return Null(); },
        [] { return Variant(); },
        [] { return ArrayOfTwo(); },
        [] { return Double(1e300); },
        [] { return Text(std::wstring(1 << 20, L'K')); },
        [] { return Text(std::wstring(L"Kovar3 Bystander\0", 17)); },
        [] { return Text(std::wstring(L"\0Kovar3 Bystander", 17)); },
        [] { return Text(L"Kovar3 Bystander\u0444"); },
        [] { return Text(L"Kovar3 Bystander\r\nKovar3 Bystander"); },
    };
    struct Member {
        const wchar_t* name;
        int parameters;
    };
    const Member members[] = {
        {L"GetOpenWindowTitles", 1}, {L"SetWindowActive", 2},   {L"CloseProgram", 2},
        {L"GetProcessList", 2},      {L"GetDefaultProgram", 1}, {L"PrintFile", 1},
    };
    for (const Member& member : members) {
        for (size_t h = 0; h < hostile.size(); ++h) {
            for (int position = 0; position < member.parameters; ++position) {
                SCOPED_TRACE(testing::Message() << ToAnsi(member.name) << ", case " << h
                                                << " in parameter " << position);
                std::vector<Variant> args;
                std::vector<VARIANT*> refs;
                for (int i = 0; i < member.parameters; ++i)
                    args.push_back(i == position ? hostile[h]() : Variant::I2(1));
                for (Variant& a : args) refs.push_back(a.address());
                const CallOutcome out = CallByRef(ops.get(), member.name, refs);
                EXPECT_EQ(out.hr, S_OK);
            }
        }
    }
    // Also an object without a value where text is read.
    Variant object = Variant::Dispatch(ops.get());
    ops.get()->AddRef();
    Variant force = Variant::I2(1);
    EXPECT_EQ(CallByRef(ops.get(), L"CloseProgram", {object.address(), force.address()}).hr, S_OK);
    EXPECT_EQ(CallByRef(ops.get(), L"PrintFile", {object.address()}).hr, S_OK);
    EXPECT_EQ(CallByRef(ops.get(), L"GetActiveWindowTitle").hr, S_OK);
    EXPECT_EQ(windows.NewMessages(), std::vector<std::string>{});
}

}  // namespace
}  // namespace kovar3::test
