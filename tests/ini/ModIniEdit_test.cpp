#include "ini/ModIniEdit.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace kovar3::ModIniEdit {
namespace {

TEST(IsWinIni, LooksAtTheLastComponentOnly)
{
    struct Case {
        const char* path;
        bool win_ini;
    };
    const Case cases[] = {
        {"win.ini", true},
        {"C:\\Some\\Folder\\WIN.INI", true},
        {"Z:/tmp/Win.Ini", true},
        {"C:win.ini", true},
        {"C:\\win.ini\\other.ini", false},
        {"C:\\xwin.ini", false},
        {"C:\\win.ini.bak", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsWinIni(c.path), c.win_ini);
    }
}

TEST(ProfileTarget, BareNamesLiveInTheWindowsFolder)
{
    char windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(ProfileTarget("x.ini"), std::string(windows) + "\\x.ini");
    EXPECT_EQ(ProfileTarget(".\\x.ini"), ".\\x.ini");
    EXPECT_EQ(ProfileTarget("C:x.ini"), "C:x.ini");
}

}  // namespace
}  // namespace kovar3::ModIniEdit
