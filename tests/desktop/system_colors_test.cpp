// SetSystemColor, SetBackColor and GetSystemColor through IDispatch, as scripts call them:
// every element reaches its own index and registry value, codes are checked before anything
// changes, and the result types follow the path taken. Each test puts the colours and
// HKCU\Control Panel\Colors back as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/desktop_fixture.h"
#include "platform/color_code.h"
#include "support/dispatch_client.h"

namespace kovar3::test {
namespace {

using namespace std::string_literals;

class SystemColorsTest : public ::testing::Test {
protected:
    CallOutcome Call(const wchar_t* member, std::vector<Variant> args)
    {
        std::vector<VARIANT*> refs;
        for (Variant& a : args) refs.push_back(a.address());
        return CallByRef(ops_.get(), member, refs);
    }
    CallOutcome SetSystemColor(Variant item, Variant code)
    {
        std::vector<Variant> args;
        args.push_back(std::move(item));
        args.push_back(std::move(code));
        return Call(L"SetSystemColor", std::move(args));
    }
    CallOutcome SetBackColor(Variant code)
    {
        std::vector<Variant> args;
        args.push_back(std::move(code));
        return Call(L"SetBackColor", std::move(args));
    }
    std::string GetSystemColor(Variant item)
    {
        std::vector<Variant> args;
        args.push_back(std::move(item));
        CallOutcome out = Call(L"GetSystemColor", std::move(args));
        EXPECT_EQ(out.result.type(), VT_BSTR);
        return AnsiTextOf(out.result.get());
    }

    SystemColorsRestorer restore_colors_;
    ComPtr<IDispatch> ops_ = CreateByProgId(L"Kovar3.Ops");
};

void ExpectStatus(const CallOutcome& out, VARTYPE type, long status)
{
    ASSERT_EQ(out.hr, S_OK);
    ASSERT_EQ(out.result.type(), type);
    EXPECT_EQ(type == VT_I2 ? V_I2(&out.result.get()) : V_I4(&out.result.get()), status);
}

struct ElementCase {
    const char* name;  // as the script writes it: letter case varies
    int index;
    const char* value_name;
    const char* code;  // set, in the case the script writes
    COLORREF value;    // what GetSysColor must answer
    const char* text;  // what the profile must hold
};

// Sixteen different colours, so two names reaching one index would show.
const ElementCase kElements[] = {
    {"titlebar", COLOR_ACTIVECAPTION, "ActiveTitle", "ff8000", 0x0080FF, "255 128 0"},
    {"TITLEBAR2", COLOR_GRADIENTACTIVECAPTION, "GradientActiveTitle", "000000", 0, "0 0 0"},
    {"TitleBarText", COLOR_CAPTIONTEXT, "TitleText", "0000FF", 0xFF0000, "0 0 255"},
    {"inactiveTitleBar", COLOR_INACTIVECAPTION, "InactiveTitle", "010203", 0x030201, "1 2 3"},
    {"InactiveTitleBar2", COLOR_GRADIENTINACTIVECAPTION, "GradientInActiveTitle", "0a0b0c",
     0x0C0B0A, "10 11 12"},
    {"InactiveTitleBarText", COLOR_INACTIVECAPTIONTEXT, "InactiveTitleText", "00FF00", 0x00FF00,
     "0 255 0"},
    {"buttons", COLOR_BTNFACE, "ButtonFace", "FFFFFF", 0xFFFFFF, "255 255 255"},
    {"Scrollbars", COLOR_SCROLLBAR, "Scrollbar", "102030", 0x302010, "16 32 48"},
    {"DESKTOP", COLOR_BACKGROUND, "Background", "123456", 0x563412, "18 52 86"},
    {"ButtonText", COLOR_BTNTEXT, "ButtonText", "AbCdEf", 0xEFCDAB, "171 205 239"},
    {"selection", COLOR_HIGHLIGHT, "Hilight", "336699", 0x996633, "51 102 153"},
    {"SelText", COLOR_HIGHLIGHTTEXT, "HilightText", "00000f", 0x0F0000, "0 0 15"},
    {"Menu", COLOR_MENU, "Menu", "f00000", 0x0000F0, "240 0 0"},
    {"menutext", COLOR_MENUTEXT, "MenuText", "0F0F0F", 0x0F0F0F, "15 15 15"},
    {"WindowBackground", COLOR_WINDOW, "Window", "C0FFEE", 0xEEFFC0, "192 255 238"},
    {"WINDOWBACKTEXT", COLOR_WINDOWTEXT, "WindowText", "7f7f80", 0x807F7F, "127 127 128"},
};

TEST_F(SystemColorsTest, EveryElementReachesItsIndexAndValue)
{
    for (const ElementCase& c : kElements) {
        SCOPED_TRACE(c.name);
        ExpectStatus(SetSystemColor(Variant::Text(c.name), Variant::Text(c.code)), VT_I2, 0);
    }
    // Read back only once all are set: an element written through another's index shows here.
    for (const ElementCase& c : kElements) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(::GetSysColor(c.index), c.value);
        EXPECT_EQ(GetSystemColor(Variant::Text(c.name)), ColorCodeFromValue(c.value));
        EXPECT_EQ(RegText(kColorsKey, c.value_name), c.text);
    }
}

TEST_F(SystemColorsTest, ByValueAsJScriptCalls)
{
    const Variant item = Variant::Text("Selection"), code = Variant::Text("a1b2c3");
    ExpectStatus(CallByValue(ops_.get(), L"SetSystemColor", {&item.get(), &code.get()}), VT_I2, 0);
    CallOutcome out = CallByValue(ops_.get(), L"GetSystemColor", {&item.get()});
    ASSERT_EQ(out.result.type(), VT_BSTR);
    EXPECT_EQ(AnsiTextOf(out.result.get()), "A1B2C3");
}

TEST_F(SystemColorsTest, RefusedCodesChangeNothing)
{
    ASSERT_EQ(
        V_I2(&SetSystemColor(Variant::Text("Selection"), Variant::Text("336699")).result.get()), 0);
    ASSERT_EQ(V_I2(&SetBackColor(Variant::Text("123456")).result.get()), 0);
    struct BadCode {
        std::string label;
        Variant code;
        long set_system_color;  // 16-bit statuses
        long set_back_color;
    };
    std::vector<BadCode> cases;
    for (const std::string& text :
         {"12345"s, "1234567"s, "12345G"s, "12 456"s, "+12345"s, "-12345"s, ""s,
          "1234\0"
          "5"s,
          "12345\xE9"s, "0x1234"s, "1.5e+3"s}) {
        cases.push_back({text, Variant::Text(text), 2, 1});
    }
    cases.push_back({"Null", Null(), 4, 2});  // cannot be read as text: each member's trap
    for (BadCode& c : cases) {
        SCOPED_TRACE(c.label);
        ExpectStatus(SetSystemColor(Variant::Text("Selection"), Variant::CopyOf(c.code.get())),
                     VT_I2, c.set_system_color);
        ExpectStatus(SetBackColor(Variant::CopyOf(c.code.get())), VT_I2, c.set_back_color);
        EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), 0x996633u);
        EXPECT_EQ(::GetSysColor(COLOR_BACKGROUND), 0x563412u);
        EXPECT_EQ(RegText(kColorsKey, "Hilight"), "51 102 153");
        EXPECT_EQ(RegText(kColorsKey, "Background"), "18 52 86");
    }
}

TEST_F(SystemColorsTest, UnknownNamesGiveOneWithoutReadingTheCode)
{
    const std::string names[] = {
        "", "Title Bar", "TitleBar ", "TitleBar3", "Desktop\0x"s, "ActiveTitle", "Hilight", "1"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        // Null as the code would end in the trap (4) if it were read.
        ExpectStatus(SetSystemColor(Variant::Text(name), Null()), VT_I2, 1);
        EXPECT_EQ(GetSystemColor(Variant::Text(name)), "0");
    }
    EXPECT_EQ(GetSystemColor(Null()), "0");
    ExpectStatus(SetSystemColor(Null(), Variant::Text("000000")), VT_I2, 4);
}

TEST_F(SystemColorsTest, DesktopAndSetBackColorShareIndexAndValue)
{
    ExpectStatus(SetBackColor(Variant::Text("123456")), VT_I2, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BACKGROUND), 0x563412u);
    EXPECT_EQ(RegText(kColorsKey, "Background"), "18 52 86");
    EXPECT_EQ(GetSystemColor(Variant::Text("desktop")), "123456");

    ExpectStatus(SetSystemColor(Variant::Text("Desktop"), Variant::Text("654321")), VT_I2, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BACKGROUND), 0x214365u);
    EXPECT_EQ(RegText(kColorsKey, "Background"), "101 67 33");
}

// With the profile's key gone it cannot be opened: SetSystemColor says so with a 32-bit 4,
// SetBackColor still answers 0; both colours change at once all the same.
TEST_F(SystemColorsTest, KeyThatCannotBeOpened)
{
    ASSERT_EQ(::RegDeleteTreeA(HKEY_CURRENT_USER, kColorsKey), ERROR_SUCCESS);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kColorsKey);

    ExpectStatus(SetSystemColor(Variant::Text("Selection"), Variant::Text("336699")), VT_I4, 4);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), 0x996633u);
    ExpectStatus(SetBackColor(Variant::Text("123456")), VT_I2, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BACKGROUND), 0x563412u);
    EXPECT_EQ(RegText(kColorsKey, "Background"), "<missing>");
}

}  // namespace
}  // namespace kovar3::test
