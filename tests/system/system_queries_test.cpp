// Machine and user queries: the version array's layout, memory arithmetic and the outputs
// each member writes on success and failure. The version and memory queries are replaced
// where a figure must be controlled; Ops objects are made directly for that.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "component/ops.h"
#include "platform/seams.h"
#include "support/dispatch_client.h"
#include "system/system_queries.h"

namespace kovar3::test {
namespace {

struct MegabyteCase {
    unsigned long long bytes;
    long megabytes;
};

TEST(MegabytesFromBytes, RoundsKilobytesHalfToEvenThenTruncates)
{
    const MegabyteCase cases[] = {
        {536346624ull, 511},    // 523 776 KB
        {0x7FFFFFFFull, 2048},  // 2 097 151.999 KB rounds up to 2 097 152
        {0xFFFFFFFFull, 4096},  // no longer lost: the 64-bit total is used
        {8ull << 30, 8192},
        {1048575ull, 1},                 // 1023.999 KB rounds to 1024 KB: 1 MB
        {512ull, 0},                     // 0.5 KB rounds to even 0
        {1536ull + (1023ull << 10), 1},  // 1024.5 KB rounds to even 1024 KB: 1 MB
        {0ull, 0},
    };
    for (const MegabyteCase& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(system::MegabytesFromBytes(c.bytes), c.megabytes);
    }
}

class WithOps : public ::testing::Test {
protected:
    void SetUp() override { ops_ = new Ops(); }
    void TearDown() override
    {
        ops_->Release();
        Seams() = saved_;
    }
    Ops* ops_ = nullptr;
    PlatformSeams saved_ = Seams();
};

BOOL WINAPI ServicePackQuery(OSVERSIONINFOA* info)
{
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 0x80000A28;  // all 32 bits are handed on
    std::strcpy(info->szCSDVersion, "Service Pack 3");
    return TRUE;
}
BOOL WINAPI FailingQuery(OSVERSIONINFOA*) { return FALSE; }

TEST_F(WithOps, GetOpVersionWritesTheFiveElementArray)
{
    Seams().get_version_ex = ServicePackQuery;
    Variant version = Sentinel();
    Variant result;
    ASSERT_EQ(ops_->GetOpVersion(version.address(), result.put()), S_OK);
    EXPECT_EQ(result.type(), VT_I2);
    EXPECT_EQ(V_I2(&result.get()), 0);
    ASSERT_EQ(version.type(), VT_ARRAY | VT_VARIANT);
    EXPECT_EQ(LowerBoundOf(version.get()), 0);
    const auto items = ElementsOf(version.get());
    ASSERT_EQ(items.size(), 5u);
    const long expected[] = {2, 5, 1, static_cast<long>(0x80000A28)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i].type(), VT_I4);
        EXPECT_EQ(V_I4(&items[i].get()), expected[i]);
    }
    // The whole 128-character field: the text, then NUL characters.
    const std::wstring pack = TextOf(items[4].get());
    ASSERT_EQ(pack.size(), 128u);
    EXPECT_EQ(pack.substr(0, 14), L"Service Pack 3");
    EXPECT_EQ(pack.find_first_not_of(L'\0', 14), std::wstring::npos);
}

TEST_F(WithOps, GetOpVersionFailure)
{
    Seams().get_version_ex = FailingQuery;
    Variant version = Sentinel();
    Variant result;
    ASSERT_EQ(ops_->GetOpVersion(version.address(), result.put()), S_OK);
    EXPECT_EQ(result.type(), VT_I2);
    EXPECT_EQ(V_I2(&result.get()), 1);
    EXPECT_EQ(version.type(), VT_BSTR);
    EXPECT_EQ(TextOf(version.get()), L"");
}

ULONGLONG g_total = 0;
BOOL WINAPI FixedMemory(MEMORYSTATUSEX* status)
{
    status->dwMemoryLoad = 37;
    status->ullTotalPhys = g_total;
    return TRUE;
}

TEST_F(WithOps, GetMemoryTotalAndLoad)
{
    Seams().global_memory_status_ex = FixedMemory;
    struct Case {
        ULONGLONG total;
        bool written;
        long megabytes;
    };
    const Case cases[] = {
        {536346624ull, true, 511},
        {0xFFFFFFFFull, true, 4096},  // a 32-bit total would have been left out here
        {0ull, false, 0},             // no total reported: the caller's value stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        g_total = c.total;
        Variant total = Sentinel(), load = Sentinel(), result;
        ASSERT_EQ(ops_->GetMemory(total.address(), load.address(), result.put()), S_OK);
        EXPECT_EQ(result.type(), VT_I2);
        EXPECT_EQ(V_I2(&result.get()), 0);
        if (c.written) {
            EXPECT_EQ(total.type(), VT_I4);
            EXPECT_EQ(V_I4(&total.get()), c.megabytes);
        } else {
            EXPECT_TRUE(IsSentinel(total.get()));
        }
        EXPECT_EQ(load.type(), VT_I4);
        EXPECT_EQ(V_I4(&load.get()), 37);
    }
}

// An output that cannot take a number (a typed reference to an object) ends the member in its
// trap: status 1, and a 16-bit zero in the other output, whichever of the two is unwritable.
TEST_F(WithOps, OutputsThatCannotTakeAValueEndInTheTrap)
{
    Seams().global_memory_status_ex = FixedMemory;  // a total, so GetMemory writes both outputs
    g_total = 536346624ull;
    struct Case {
        const char* name;
        std::function<HRESULT(Ops*, VARIANT*, VARIANT*, VARIANT*)> call;
    } const cases[] = {
        {"GetScreenPixels",
         [](Ops* o, VARIANT* a, VARIANT* b, VARIANT* r) { return o->GetScreenPixels(a, b, r); }},
        {"GetDesktopPixels",
         [](Ops* o, VARIANT* a, VARIANT* b, VARIANT* r) { return o->GetDesktopPixels(a, b, r); }},
        {"GetMemory",
         [](Ops* o, VARIANT* a, VARIANT* b, VARIANT* r) { return o->GetMemory(a, b, r); }},
    };
    for (const Case& c : cases) {
        for (const bool first_unwritable : {true, false}) {
            SCOPED_TRACE(::testing::Message()
                         << c.name << (first_unwritable ? " first" : " second"));
            IDispatch* none = nullptr;
            VARIANT object;
            V_VT(&object) = VT_BYREF | VT_DISPATCH;  // no value can be converted to an object
            V_DISPATCHREF(&object) = &none;
            Variant other = Sentinel(), result;
            VARIANT* first = first_unwritable ? &object : other.address();
            VARIANT* second = first_unwritable ? other.address() : &object;
            ASSERT_EQ(c.call(ops_, first, second, result.put()), S_OK);
            EXPECT_EQ(result.type(), VT_I2);
            EXPECT_EQ(V_I2(&result.get()), 1);
            EXPECT_EQ(other.type(), VT_I2);
            EXPECT_EQ(V_I2(&other.get()), 0);
            EXPECT_EQ(none, nullptr);
        }
    }
}

TEST(SystemQueries, NamesAreCutByThePlatformsCount)
{
    const std::string user = system::CurrentUserName();
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(user.find_first_of(std::string(" \0", 2)), std::string::npos);
    const std::string computer = system::ComputerName();
    EXPECT_LE(computer.size(), static_cast<size_t>(MAX_COMPUTERNAME_LENGTH));
    EXPECT_EQ(computer.find_first_of(std::string(" \0", 2)), std::string::npos);
}

TEST(SystemQueries, DisplayFiguresThroughTheScriptInterface)
{
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    ASSERT_TRUE(ops);
    Variant width, height;
    CallOutcome screen =
        CallByRef(ops.get(), L"GetScreenPixels", {width.address(), height.address()});
    ASSERT_EQ(screen.hr, S_OK);
    EXPECT_EQ(V_I2(&screen.result.get()), 0);
    ASSERT_EQ(width.type(), VT_I4);
    EXPECT_EQ(V_I4(&width.get()), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(V_I4(&height.get()), ::GetSystemMetrics(SM_CYSCREEN));

    // The work area's right and bottom edges, not its width and height.
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    Variant right, bottom;
    CallOutcome desk =
        CallByRef(ops.get(), L"GetDesktopPixels", {right.address(), bottom.address()});
    ASSERT_EQ(desk.hr, S_OK);
    EXPECT_EQ(V_I2(&desk.result.get()), 0);
    EXPECT_EQ(right.type(), VT_I4);
    EXPECT_EQ(V_I4(&right.get()), area.right);
    EXPECT_EQ(V_I4(&bottom.get()), area.bottom);

    CallOutcome depth = CallByRef(ops.get(), L"GetColorDepthBPP");
    ASSERT_EQ(depth.result.type(), VT_I4);
    EXPECT_GE(V_I4(&depth.result.get()), 8);
}

}  // namespace
}  // namespace kovar3::test
