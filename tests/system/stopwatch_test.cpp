// The stopwatch: elapsed milliseconds as a 32-bit integer, the 16-bit 0 when it is not
// running, modulo-2^32 arithmetic across the tick counter's wrap, and one start tick per
// thread shared by that thread's Ops objects. The tick counter is replaced where a figure
// must be controlled; those Ops objects are made directly and called through their vtable.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "component/ops.h"
#include "support/dispatch_client.h"
#include "support/seam_guard.h"

namespace kovar3::test {
namespace {

DWORD g_tick = 0;
DWORD WINAPI FakeTick() { return g_tick; }

ComPtr<Ops> NewOps() { return ComPtr<Ops>(new Ops()); }

void Start(Ops* ops, DWORD tick)
{
    g_tick = tick;
    EXPECT_EQ(ops->TimerStart(), S_OK);
}

// TimerStop's result at `tick`, as "I4 <n>" or "I2 <n>".
std::string Stop(Ops* ops, DWORD tick)
{
    g_tick = tick;
    Variant result;
    EXPECT_EQ(ops->TimerStop(result.put()), S_OK);
    switch (result.type()) {
    case VT_I4: return "I4 " + std::to_string(V_I4(&result.get()));
    case VT_I2: return "I2 " + std::to_string(V_I2(&result.get()));
    default: return "type " + std::to_string(result.type());
    }
}

class Stopwatch : public ::testing::Test {
protected:
    void SetUp() override { Seams().get_tick_count = FakeTick; }
    SeamGuard seams_;
};

TEST_F(Stopwatch, MeasuresInUnsignedArithmetic)
{
    struct Case {
        const char* label;
        DWORD start, stop;
        const char* result;
    };
    const Case cases[] = {
        {"an ordinary interval", 1000, 1250, "I4 250"},
        {"no time at all is still a measurement", 5000, 5000, "I4 0"},
        {"across the wrap of the tick counter", 0xFFFFFF00u, 0x100, "I4 512"},
        {"over 2^31 - 1 milliseconds reads negative", 1, 0x80000001u, "I4 -2147483648"},
        {"a start tick of 0 means not running", 0, 700, "I2 0"},
    };
    ComPtr<Ops> ops = NewOps();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Start(ops.get(), c.start);
        EXPECT_EQ(Stop(ops.get(), c.stop), c.result);
        EXPECT_EQ(Stop(ops.get(), c.stop + 10), "I2 0");  // a second stop: not running
    }
}

TEST_F(Stopwatch, StopWithoutStartAndRestart)
{
    ComPtr<Ops> ops = NewOps();
    EXPECT_EQ(Stop(ops.get(), 100), "I2 0");
    Start(ops.get(), 1000);
    Start(ops.get(), 2000);  // measures from the second start
    EXPECT_EQ(Stop(ops.get(), 2600), "I4 600");
}

TEST_F(Stopwatch, OneStartTickPerThreadResetByEveryNewOps)
{
    ComPtr<Ops> first = NewOps();
    ComPtr<Ops> second = NewOps();
    Start(first.get(), 1000);
    EXPECT_EQ(Stop(second.get(), 1400), "I4 400");  // objects of one thread share it

    Start(first.get(), 3000);
    ComPtr<Ops> third = NewOps();  // creating an Ops object cancels the measurement
    EXPECT_EQ(Stop(first.get(), 3500), "I2 0");

    // Another thread has its own start tick: what happens there leaves this one running.
    Start(first.get(), 5000);
    std::string other_thread;
    std::thread([&] {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
            ComPtr<Ops> elsewhere = NewOps();
            other_thread = Stop(elsewhere.get(), 5100);
            Start(elsewhere.get(), 5200);
        }
        ::CoUninitialize();
    }).join();
    EXPECT_EQ(other_thread, "I2 0");
    EXPECT_EQ(Stop(first.get(), 5300), "I4 300");
}

TEST(StopwatchForReal, MeasuresAboutOneSecond)
{
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    ASSERT_TRUE(ops);
    ASSERT_EQ(CallByRef(ops.get(), L"TimerStart").hr, S_OK);
    ::Sleep(1000);
    const CallOutcome out = CallByRef(ops.get(), L"TimerStop");
    ASSERT_EQ(out.result.type(), VT_I4);
    // The tick counter advances in steps of 10 to 16 milliseconds on Windows.
    EXPECT_GE(V_I4(&out.result.get()), 980);
    EXPECT_LT(V_I4(&out.result.get()), 10000);
}

}  // namespace
}  // namespace kovar3::test
