// FileExists answers false for names that open devices: reading or writing them can block
// (a serial port, a pipe) or reach hardware, and the Windows platform reports many of them as
// existing files. Wine reports NUL, CON, COM1.ini and LPT1.dll with file attributes.
#include "platform/file_system.h"

#include <gtest/gtest.h>

namespace kovar3 {
namespace {

TEST(FileExists, DeviceNamesAreNotFiles)
{
    char windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryA(windows, sizeof windows);
    const std::string folder(windows);
    const std::string devices[] = {
        "NUL",
        "nul.ini",
        "CON",
        "COM1",
        "com1.ini",
        "COM1:",
        "LPT1.dll",
        "aux.exe",
        "prn",
        "CONOUT$",
        folder + "\\nul.ini",
        folder + "\\Com3 .dll",
        "\\\\.\\pipe\\kovar3",
        "\\\\.\\C:",
        "//./nul",
        "\\\\?\\GLOBALROOT\\Device\\Null",
    };
    FileSystem fs;
    for (const std::string& name : devices) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(fs.FileExists(name));
    }
    // Names that only look alike are ordinary files.
    EXPECT_TRUE(fs.FileExists(folder + "\\win.ini"));
    EXPECT_FALSE(fs.FileExists(folder + "\\console.ini"));  // absent, but not a device
}

}  // namespace
}  // namespace kovar3
