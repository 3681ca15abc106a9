// What creating an Ops object does to the apartment's state: the family flag and major
// version from the version query, the timer reset. Ops objects are made directly here (the
// test executable links the same classes as the DLL), so the version query can be replaced.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "component/ops.h"
#include "platform/ModKovar.h"
#include "platform/seams.h"
#include "support/dispatch_client.h"
#include "support/expected_platform.h"

namespace kovar3::test {
namespace {

// Replaces the version query for one scope.
class VersionQuery {
public:
    explicit VersionQuery(BOOL(WINAPI* fake)(OSVERSIONINFOA*)) : saved_(Seams().get_version_ex)
    {
        Seams().get_version_ex = fake;
    }
    ~VersionQuery() { Seams().get_version_ex = saved_; }

private:
    BOOL(WINAPI* saved_)(OSVERSIONINFOA*);
};

BOOL WINAPI FailingQuery(OSVERSIONINFOA*) { return FALSE; }
BOOL WINAPI Win32sQuery(OSVERSIONINFOA* info)
{
    info->dwPlatformId = VER_PLATFORM_WIN32s;
    info->dwMajorVersion = 3;
    return TRUE;
}

void CreateAndReleaseOps() { (new Ops())->Release(); }

TEST(FamilyDetection, DetectedAtCreation)
{
    CreateAndReleaseOps();
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(::GetVersionExA(&info));
    ASSERT_EQ(info.dwPlatformId, ExpectedPlatform()) << "the program runs as another platform";
    EXPECT_EQ(ModKovar::OsFamily, ExpectedPlatform() == VER_PLATFORM_WIN32_NT ? 1 : 0);
    EXPECT_EQ(ModKovar::OsMajorVersion, static_cast<long>(info.dwMajorVersion));
}

TEST(FamilyDetection, OtherPlatformsAndFailureInAFreshApartment)
{
    // Each thread has its own state, zero until an Ops object is created there.
    std::thread([] {
        EXPECT_EQ(ModKovar::OsFamily, 0);
        {
            VersionQuery failing(FailingQuery);
            CreateAndReleaseOps();
        }
        EXPECT_EQ(ModKovar::OsFamily, -1);
        EXPECT_EQ(ModKovar::OsMajorVersion, 0);  // never set in this apartment
        {
            VersionQuery win32s(Win32sQuery);
            CreateAndReleaseOps();
        }
        EXPECT_EQ(ModKovar::OsFamily, 0);  // platform 0 counts with the 95/98/ME family
        EXPECT_EQ(ModKovar::OsMajorVersion, 3);
        {
            VersionQuery failing(FailingQuery);
            CreateAndReleaseOps();
        }
        EXPECT_EQ(ModKovar::OsFamily, -1);
        EXPECT_EQ(ModKovar::OsMajorVersion, 3);  // a failed query keeps the previous value
    }).join();
}

TEST(OpsLifecycle, CreationResetsTheApartmentsTimer)
{
    ModKovar::TimerStartTick = 12345;
    CreateAndReleaseOps();
    EXPECT_EQ(ModKovar::TimerStartTick, 0u);
}

}  // namespace
}  // namespace kovar3::test
