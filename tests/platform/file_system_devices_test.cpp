// FileExists answers false for names that open devices: reading or writing them can block
// (a serial port, a pipe) or reach hardware, and the Windows platform reports many of them as
// existing files. Wine reports NUL, CON, COM1.ini and LPT1.dll with file attributes.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

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
    // Names that only start like a device are ordinary files, found where they exist.
    EXPECT_TRUE(fs.FileExists(folder + "\\win.ini"));
    test::TempFolder temp;
    for (const char* name : {"console.ini", "com10.dll", "nul-file.ini", "auxiliary.exe"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(fs.FileExists(temp.Path(name)));
        EXPECT_TRUE(fs.FileExists(temp.Write(name, "[s]\r\n")));
    }
}

}  // namespace
}  // namespace kovar3
