// GetProcessList through IDispatch against what the platform's own snapshot shows, the family
// and version gate, and the snapshot walk itself.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "component/ops.h"
#include "platform/ModKovar.h"
#include "platform/seams.h"
#include "support/dispatch_client.h"
#include "support/expected_platform.h"
#include "windows/cEnumProc.h"
#include "windows/test_windows.h"

namespace kovar3::test {
namespace {

// The names a plain Toolhelp walk sees, in snapshot order.
std::vector<std::string> RawProcessNames()
{
    std::vector<std::string> names;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return names;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = ::Process32First(snapshot, &entry); ok; ok = ::Process32Next(snapshot, &entry))
        names.push_back(entry.szExeFile);
    ::CloseHandle(snapshot);
    return names;
}

std::vector<std::string> Split(const std::string& list)
{
    std::vector<std::string> names;
    std::istringstream in(list);
    for (std::string name; std::getline(in, name, ',');) names.push_back(name);
    if (!list.empty() && list.back() == ',') names.push_back("");
    return names;
}

std::string OwnProgramName()
{
    char path[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full = path;
    return full.substr(full.find_last_of('\\') + 1);
}

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& n : names) {
        if (_stricmp(n.c_str(), name.c_str()) == 0) return true;
    }
    return false;
}

// The version this program runs as (Wine's per-program version override may make it NT 4 or
// Windows 98).
OSVERSIONINFOA RunningVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ::GetVersionExA(&info);
    return info;
}

bool SnapshotsRuledOut()
{
    const OSVERSIONINFOA info = RunningVersion();
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion < 5;
}

TEST(FamilyProcessList, ListsWhatTheSnapshotShows)
{
    if (SnapshotsRuledOut()) GTEST_SKIP() << "NT 4: see FollowsTheVersionThisProgramRunsAs";
    TestWindows helper({L"notitle"});
    ASSERT_TRUE(helper.ready());
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");

    // A process may start or end between two snapshots: compare with a raw walk that saw the
    // same before and after the call.
    bool compared = false;
    for (int attempt = 0; attempt < 5 && !compared; ++attempt) {
        const std::vector<std::string> before = RawProcessNames();
        Variant list = Sentinel(), count = Sentinel();
        const CallOutcome out =
            CallByRef(ops.get(), L"GetProcessList", {list.address(), count.address()});
        if (RawProcessNames() != before) continue;
        compared = true;
        ASSERT_EQ(out.result.type(), VT_I2);
        EXPECT_EQ(V_I2(&out.result.get()), 0);
        ASSERT_EQ(list.type(), VT_BSTR);
        ASSERT_EQ(count.type(), VT_I2);
        const std::vector<std::string> names = Split(AnsiTextOf(list.get()));
        EXPECT_EQ(names, before);
        EXPECT_EQ(V_I2(&count.get()), static_cast<short>(names.size()));
        EXPECT_TRUE(Contains(names, OwnProgramName())) << AnsiTextOf(list.get());
        EXPECT_TRUE(Contains(names, "kovar3_window_maker.exe")) << AnsiTextOf(list.get());
    }
    EXPECT_TRUE(compared) << "the process list kept changing";
}

TEST(FamilyProcessList, FollowsTheVersionThisProgramRunsAs)
{
    if (const DWORD major = ExpectedMajorVersion()) {
        ASSERT_EQ(RunningVersion().dwMajorVersion, major) << "the program runs as another version";
    }
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    Variant list = Sentinel(), count = Sentinel();
    const CallOutcome out =
        CallByRef(ops.get(), L"GetProcessList", {list.address(), count.address()});
    ASSERT_EQ(out.result.type(), VT_I2);
    ASSERT_EQ(list.type(), VT_BSTR);
    ASSERT_EQ(count.type(), VT_I2);
    if (SnapshotsRuledOut()) {
        EXPECT_EQ(V_I2(&out.result.get()), 2);
        EXPECT_EQ(TextOf(list.get()), L"");
        EXPECT_EQ(V_I2(&count.get()), 0);
    } else {
        EXPECT_EQ(V_I2(&out.result.get()), 0);
        EXPECT_GT(V_I2(&count.get()), 0);
    }
}

struct GateCase {
    short family;
    long major;
    short status;
};

TEST(FamilyProcessList, GateByFamilyAndVersion)
{
    const GateCase cases[] = {
        {-1, 6, 1},                                    // the version query failed
        {1, 4, 2},                                     // NT 4 has no snapshot functions
        {1, 3, 2},  {1, 5, 0}, {1, 10, 0}, {0, 4, 0},  // 95/98/ME have them
    };
    for (const GateCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "family " << c.family << ", major " << c.major);
        const windows::ProcessList listed = windows::ListProcesses(c.family, c.major);
        EXPECT_EQ(listed.status, c.status);
        if (c.status == 0) {
            EXPECT_EQ(static_cast<size_t>(listed.count), Split(listed.names).size());
        } else {
            EXPECT_EQ(listed.names, "");
            EXPECT_EQ(listed.count, 0);
        }
    }
}

BOOL WINAPI FailingQuery(OSVERSIONINFOA*) { return FALSE; }

// The frame reads the family that the creation of the Ops object recorded, and writes both
// outputs on the failure path too.
TEST(FamilyProcessList, UnknownVersionWritesBothOutputs)
{
    std::thread([] {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const auto saved = Seams().get_version_ex;
        Seams().get_version_ex = FailingQuery;
        Ops* ops = new Ops();
        Seams().get_version_ex = saved;
        Variant list = Sentinel(), count = Sentinel(), result;
        EXPECT_EQ(ops->GetProcessList(list.address(), count.address(), result.put()), S_OK);
        ops->Release();
        EXPECT_EQ(result.type(), VT_I2);
        EXPECT_EQ(V_I2(&result.get()), 1);
        EXPECT_EQ(TextOf(list.get()), L"");
        EXPECT_EQ(count.type(), VT_I2);
        EXPECT_EQ(V_I2(&count.get()), 0);
        ::CoUninitialize();
    }).join();
}

TEST(FamilyProcessList, ByValueArgumentsStillAnswer)
{
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    Variant list = Variant::Text(""), count = Variant::I2(0);
    const CallOutcome out = CallByValue(ops.get(), L"GetProcessList", {&list.get(), &count.get()});
    EXPECT_EQ(out.hr, S_OK);
    EXPECT_EQ(out.result.type(), VT_I2);
}

}  // namespace
}  // namespace kovar3::test
