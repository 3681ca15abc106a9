// Hive abbreviations and path trimming.
#include <windows.h>

#include <gtest/gtest.h>

#include "registry/ModRegKovar.h"

namespace kovar3::ModRegKovar {
namespace {

struct HiveCase {
    const char* abbrev;
    HKEY basic;     // null: refused
    HKEY extended;  // null: refused
};

TEST(HiveFromAbbrev, AcceptsEachSetWholeAndInAnyCase)
{
    const HiveCase cases[] = {
        {"HKCR", HKEY_CLASSES_ROOT, HKEY_CLASSES_ROOT},
        {"hkcu", HKEY_CURRENT_USER, HKEY_CURRENT_USER},
        {"HkLm", HKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE},
        {"HKU", HKEY_USERS, HKEY_USERS},
        {"HKCC", nullptr, HKEY_CURRENT_CONFIG},
        {"hkdd", nullptr, HKEY_DYN_DATA},
        {" HKCU", nullptr, nullptr},
        {"HKCU ", nullptr, nullptr},
        {"HKCU\\", nullptr, nullptr},
        {"HKEY_CURRENT_USER", nullptr, nullptr},
        {"HKC", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const HiveCase& c : cases) {
        SCOPED_TRACE(c.abbrev);
        const auto basic = HiveFromAbbrev(c.abbrev, HiveSet::kBasic);
        const auto extended = HiveFromAbbrev(c.abbrev, HiveSet::kExtended);
        EXPECT_EQ(basic.value_or(nullptr), c.basic);
        EXPECT_EQ(extended.value_or(nullptr), c.extended);
    }
    // Compared whole: an embedded NUL is part of the text.
    EXPECT_FALSE(HiveFromAbbrev(std::string("HKCU\0x", 6), HiveSet::kBasic));
}

struct TrimCase {
    const char* path;
    const char* trimmed;
};

TEST(TrimRegPath, RemovesOneBackslashAtEachEnd)
{
    const TrimCase cases[] = {
        {"\\Software\\Kovar\\", "Software\\Kovar"},
        {"Software\\Kovar", "Software\\Kovar"},
        {"\\\\Software\\\\", "\\Software\\"},  // only one goes at each end
        {"\\", ""},                            // a lone backslash addresses the root
        {"\\\\", ""},                          // one from the end, then one from the start
        {"", ""},
    };
    for (const TrimCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(TrimRegPath(c.path), c.trimmed);
    }
}

}  // namespace
}  // namespace kovar3::ModRegKovar
