// ExitWin never logs off or shuts down for real here: the exit call and the privilege calls
// before it are replaced, and the calls are recorded in order, on Ops objects made directly
// and called through their vtable. The mode is converted before
// the member's trap, so a mode that is not a 16-bit number reaches the caller and nothing is
// called. The real effect is shown in a throwaway Wine prefix by tests/system/exit_session.sh.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "component/ops.h"
#include "platform/ModKovar.h"
#include "platform/safearray.h"
#include "support/dispatch_client.h"
#include "support/seam_guard.h"

namespace kovar3::test {
namespace {

std::string g_calls;
bool g_token_opens = true;

void Record(const std::string& call) { g_calls += (g_calls.empty() ? "" : ", ") + call; }

BOOL WINAPI FakeOpenToken(HANDLE process, DWORD access, HANDLE* token)
{
    Record("open token " + std::to_string(access));
    if (!g_token_opens) return FALSE;
    *token = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);  // any handle that can be closed
    return TRUE;
}
BOOL WINAPI FakeLookup(LPCSTR system, LPCSTR name, LUID* luid)
{
    Record(std::string("lookup '") + system + "' " + name);
    luid->LowPart = 19;
    luid->HighPart = 0;
    return TRUE;
}
BOOL WINAPI FakeAdjust(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* state, DWORD length,
                       TOKEN_PRIVILEGES* previous, DWORD* returned)
{
    Record("adjust " + std::to_string(disable_all) + " " + std::to_string(state->PrivilegeCount) +
           " luid " + std::to_string(state->Privileges[0].Luid.LowPart) + " attributes " +
           std::to_string(state->Privileges[0].Attributes) + " length " + std::to_string(length) +
           (previous && returned ? " previous" : ""));
    return TRUE;
}
BOOL WINAPI FakeExit(UINT flags, DWORD reason)
{
    Record("exit " + std::to_string(flags) + " " + std::to_string(reason));
    return TRUE;
}

const char kPrivilege[] =
    "open token 40, lookup '' SeShutdownPrivilege, adjust 0 1 luid 19 attributes 2 length 16 "
    "previous, ";

class ExitWin : public ::testing::Test {
protected:
    void SetUp() override
    {
        Seams().open_process_token = FakeOpenToken;
        Seams().lookup_privilege_value = FakeLookup;
        Seams().adjust_token_privileges = FakeAdjust;
        Seams().exit_windows_ex = FakeExit;
        g_calls.clear();
        g_token_opens = true;
    }
    SeamGuard seams_;
    ComPtr<Ops> ops_{new Ops()};
};

Variant ArrayOfTwo()
{
    SafeArrayBuilder array;
    array.Add(Variant::I2(1));
    array.Add(Variant::I2(2));
    return array.Build();
}

Variant Double(double value)
{
    Variant v;
    V_VT(v.put()) = VT_R8;
    V_R8(v.address()) = value;
    return v;
}

TEST_F(ExitWin, CallsByMode)
{
    struct Case {
        const char* label;
        Variant (*mode)();
        std::string calls;
    };
    const Case cases[] = {
        {"0 logs off, no privilege", [] { return Variant::I2(0); }, "exit 0 0"},
        {"1 shuts down", [] { return Variant::I2(1); }, std::string(kPrivilege) + "exit 1 0"},
        {"2 restarts", [] { return Variant::I4(2); }, std::string(kPrivilege) + "exit 2 0"},
        {"the text \"2\"", [] { return Variant::Text("2"); }, std::string(kPrivilege) + "exit 2 0"},
        {"1.5 rounds to even 2", [] { return Double(1.5); }, std::string(kPrivilege) + "exit 2 0"},
        {"2.5 rounds to even 2", [] { return Double(2.5); }, std::string(kPrivilege) + "exit 2 0"},
        {"0.5 rounds to even 0", [] { return Double(0.5); }, "exit 0 0"},
        {"Empty reads as 0", [] { return Variant(); }, "exit 0 0"},
        {"3 does nothing", [] { return Variant::I2(3); }, ""},
        {"-1 does nothing", [] { return Variant::I2(-1); }, ""},
        {"100 does nothing", [] { return Variant::I2(100); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        g_calls.clear();
        Variant mode = c.mode();
        EXPECT_EQ(ops_->ExitWin(mode.address()), S_OK);
        EXPECT_EQ(g_calls, c.calls);
    }
}

TEST_F(ExitWin, AModeThatIsNoNumberCallsNothing)
{
    struct Case {
        const char* label;
        Variant (*mode)();
        int number;  // Err.Number a script reads
    };
    const Case cases[] = {
        {"Null", [] { return Null(); }, 94},
        {"text", [] { return Variant::Text("abc"); }, 13},
        {"over 16 bits", [] { return Variant::I4(40000); }, 6},
        {"an array", ArrayOfTwo, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        g_calls.clear();
        Variant mode = c.mode();
        EXPECT_EQ(ops_->ExitWin(mode.address()), static_cast<HRESULT>(0x800A0000 | c.number));
        EXPECT_EQ(g_calls, "");
    }
}

TEST_F(ExitWin, ARefusedTokenDoesNotStopTheRequest)
{
    g_token_opens = false;  // as on the 95/98/ME family, which has no tokens
    Variant mode = Variant::I2(1);
    EXPECT_EQ(ops_->ExitWin(mode.address()), S_OK);
    EXPECT_EQ(g_calls, "open token 40, exit 1 0");
}

TEST(EnableShutdownPrivilege, EnablesItInTheProcessToken)
{
    ModKovar::EnableShutdownPrivilege();  // harmless for real: it only allows a shutdown
    HANDLE raw = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw));
    const Handle token(raw);
    LUID shutdown{};
    ASSERT_TRUE(::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown));
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
    std::string buffer(size, '\0');
    ASSERT_TRUE(::GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size));
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    bool enabled = false;
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart)
            enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    EXPECT_TRUE(enabled);
}

}  // namespace
}  // namespace kovar3::test
