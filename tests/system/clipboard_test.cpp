// Clipboard text through IDispatch, as a script calls it, checked from another program (the
// peer): what SendTextCB places is what the peer reads, and what the peer places is what
// GetTextCB reads. Also an empty clipboard, a picture alone, and a clipboard held open.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/dispatch_client.h"
#include "support/temp_folder.h"
#include "system/peer_process.h"

namespace kovar3::test {
namespace {

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ops_ = CreateByProgId(L"Kovar3.Ops");
        ASSERT_TRUE(ops_);
    }

    CallOutcome Send(Variant text)
    {
        return CallByRef(ops_.get(), L"SendTextCB", {text.address()});
    }

    // GetTextCB's status, with its output checked to be a string.
    short Get(std::string& text)
    {
        Variant output = Sentinel();
        CallOutcome out = CallByRef(ops_.get(), L"GetTextCB", {output.address()});
        EXPECT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), VT_I2);
        EXPECT_EQ(output.type(), VT_BSTR);
        text = AnsiTextOf(output.get());
        return V_I2(&out.result.get());
    }

    // The CF_TEXT bytes the peer reads; "<none>" when it finds no text.
    std::string PeerReads()
    {
        const std::string file = folder_.Path("clipboard.txt");
        const int code = RunPeer("get-text \"" + file + "\"");
        if (code == 1) return "<none>";
        EXPECT_EQ(code, 0);
        return ReadWholeFile(file);
    }

    void PeerPlaces(const std::string& ansi) { ASSERT_EQ(RunPeer("set-text " + Hex(ansi)), 0); }

    ComPtr<IDispatch> ops_;
    TempFolder folder_;
};

// Emptied by this process, which then holds nothing but what it put there.
void EmptyTheClipboard(HBITMAP bitmap = nullptr)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    if (bitmap) ::SetClipboardData(CF_BITMAP, bitmap);
    ::CloseClipboard();
}

bool AnsiIsWesternEuropean() { return ::GetACP() == 1252; }

TEST_F(Clipboard, SentTextIsWhatAnotherProgramReads)
{
    struct Case {
        const char* label;
        std::string ansi;  // the text as the ANSI code page holds it
        bool code_page_1252;
    };
    const Case cases[] = {
        {"plain", "hello", false},
        {"line breaks kept", "first\r\nsecond\r\n", false},
        {"10 000 characters", std::string(10000, 'x') + "end", false},
        {"accents and the euro sign", "\xE9t\xE9 \x80", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.code_page_1252 && !AnsiIsWesternEuropean()) continue;
        CallOutcome out = Send(Variant::Text(c.ansi));
        ASSERT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), VT_I2);
        EXPECT_EQ(V_I2(&out.result.get()), 0);
        EXPECT_EQ(PeerReads(), c.ansi);
    }

    // A number goes on as its decimal text.
    CallOutcome out = Send(Variant::I4(4096));
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(PeerReads(), "4096");
}

TEST_F(Clipboard, TextAnotherProgramPlacedIsRead)
{
    std::string text;
    for (const std::string& ansi :
         {std::string("from the peer"), std::string("a\r\nb\tc"), std::string(12000, 'y')}) {
        PeerPlaces(ansi);
        EXPECT_EQ(Get(text), 0);
        EXPECT_EQ(text, ansi);
    }

    // Unicode text placed by another program arrives in the ANSI code page.
    if (AnsiIsWesternEuropean()) {
        const std::string utf16le("\xE9\x00\xAC\x20\x0D\x00\x0A\x00x\x00", 10);  // "é€\r\nx"
        ASSERT_EQ(RunPeer("set-unicode " + Hex(utf16le)), 0);
        EXPECT_EQ(Get(text), 0);
        EXPECT_EQ(text, "\xE9\x80\r\nx");
    }

    // The round trip within one script.
    ASSERT_EQ(V_I2(&Send(Variant::Text("round trip")).result.get()), 0);
    EXPECT_EQ(Get(text), 0);
    EXPECT_EQ(text, "round trip");
}

TEST_F(Clipboard, NothingToSendLeavesTheClipboardAlone)
{
    struct Case {
        const char* label;
        Variant (*argument)();
        short status;
    };
    const Case cases[] = {
        {"empty text", [] { return Variant::Text(""); }, 1},
        {"Empty", [] { return Variant(); }, 1},
        {"Null", [] { return Null(); }, 2},
        {"NUL inside: the format would cut the text",
         [] {
             return Variant::Text({"a\0b", 3});
         },
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PeerPlaces("keep me");
        CallOutcome out = Send(c.argument());
        ASSERT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), VT_I2);
        EXPECT_EQ(V_I2(&out.result.get()), c.status);
        EXPECT_EQ(PeerReads(), "keep me");
    }
}

TEST_F(Clipboard, NoTextGivesOneAndEmptyText)
{
    std::string text = "stale";
    EmptyTheClipboard();
    EXPECT_EQ(Get(text), 1);
    EXPECT_EQ(text, "");

    // A picture alone is no text.
    const HDC screen = ::GetDC(nullptr);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
    ::ReleaseDC(nullptr, screen);
    EmptyTheClipboard(bitmap);  // the clipboard owns the bitmap now
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    text = "stale";
    EXPECT_EQ(Get(text), 1);
    EXPECT_EQ(text, "");
}

TEST_F(Clipboard, AClipboardHeldOpenForAMomentIsWaitedFor)
{
    const Handle ready(::CreateEventA(nullptr, TRUE, FALSE, "Kovar3ClipboardHeld"));
    ASSERT_TRUE(ready);
    {
        PeerProcess holder("hold Kovar3ClipboardHeld 60");
        ASSERT_TRUE(holder.started());
        ASSERT_EQ(::WaitForSingleObject(ready.get(), 15000), WAIT_OBJECT_0);
        EXPECT_EQ(V_I2(&Send(Variant::Text("after the wait")).result.get()), 0);
        EXPECT_EQ(holder.Wait(), 0);
    }
    EXPECT_EQ(PeerReads(), "after the wait");

    // Held for longer than the retries last: status 2 both ways, the text untouched.
    ::ResetEvent(ready.get());
    PeerProcess holder("hold Kovar3ClipboardHeld 3000");
    ASSERT_TRUE(holder.started());
    ASSERT_EQ(::WaitForSingleObject(ready.get(), 15000), WAIT_OBJECT_0);
    EXPECT_EQ(V_I2(&Send(Variant::Text("too soon")).result.get()), 2);
    std::string text = "stale";
    EXPECT_EQ(Get(text), 2);
    EXPECT_EQ(text, "");
    EXPECT_EQ(holder.Wait(), 0);
    EXPECT_EQ(PeerReads(), "after the wait");
}

}  // namespace
}  // namespace kovar3::test
