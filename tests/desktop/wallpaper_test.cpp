// SetWallpaper through IDispatch, as scripts call it: the copy in the Windows folder becomes
// the wallpaper, never the script's file; the checks run before anything changes; a copy that
// fails leaves the old wallpaper whole. Each test puts back the wallpaper, HKCU\Control
// Panel\Desktop and the copy as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/desktop_fixture.h"
#include "platform/file_system.h"
#include "platform/unique.h"
#include "support/dispatch_client.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

class WallpaperTest : public ::testing::Test {
protected:
    CallOutcome SetWallpaper(Variant path, Variant style)
    {
        return CallByRef(ops_.get(), L"SetWallpaper", {path.address(), style.address()});
    }
    CallOutcome SetWallpaper(const std::string& path, const std::string& style)
    {
        return SetWallpaper(Variant::Text(path), Variant::Text(style));
    }

    // The registry values and the copy, to show that a call changed nothing.
    struct State {
        std::string wallpaper, tile, style, copy_bytes, system_wallpaper;
        bool operator==(const State& o) const
        {
            return wallpaper == o.wallpaper && tile == o.tile && style == o.style &&
                   copy_bytes == o.copy_bytes && system_wallpaper == o.system_wallpaper;
        }
    };
    State Now() const
    {
        return {RegText(kDesktopKey, "Wallpaper"), RegText(kDesktopKey, "TileWallpaper"),
                RegText(kDesktopKey, "WallpaperStyle"), ReadWholeFile(copy_), CurrentWallpaper()};
    }

    void ExpectNoTemporaryLeft() const
    {
        EXPECT_TRUE(FilesMatching(windows_, "kov*.tmp").empty()) << "a temporary copy was left";
    }

    WallpaperRestorer restore_wallpaper_;
    ComPtr<IDispatch> ops_ = CreateByProgId(L"Kovar3.Ops");
    TempFolder temp_;
    const std::string windows_ = WindowsFolder();
    const std::string copy_ = windows_ + "\\kovarwp.bmp";
    const std::string red_ = Bitmap(4, 3, RGB(255, 0, 0), RGB(128, 0, 0));
    const std::string blue_ = Bitmap(5, 2, RGB(0, 0, 255), RGB(0, 128, 255));
};

void ExpectStatus(const CallOutcome& out, short status)
{
    ASSERT_EQ(out.hr, S_OK);
    ASSERT_EQ(out.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&out.result.get()), status);
}

struct StyleCase {
    const char* file;  // the extension in any letter case
    const char* style;
    const char* tile_wallpaper;
    const char* wallpaper_style;
};
const StyleCase kStyles[] = {
    {"a.bmp", "CENTER", "0", "0"},
    {"b.Bmp", "Tile", "1", "0"},
    {"c.BMP", "stretch", "0", "2"},
    {"d.bmp", "cEnTeR", "0", "0"},
};

TEST_F(WallpaperTest, TheCopyBecomesTheWallpaperInEachStyle)
{
    for (const StyleCase& c : kStyles) {
        SCOPED_TRACE(c.style);
        const std::string path = temp_.Write(c.file, red_);
        ExpectStatus(SetWallpaper(path, c.style), 0);
        EXPECT_EQ(RegText(kDesktopKey, "Wallpaper"), copy_);
        EXPECT_EQ(RegText(kDesktopKey, "TileWallpaper"), c.tile_wallpaper);
        EXPECT_EQ(RegText(kDesktopKey, "WallpaperStyle"), c.wallpaper_style);
        EXPECT_EQ(CurrentWallpaper(), copy_);
        EXPECT_EQ(ReadWholeFile(copy_), red_);
        EXPECT_EQ(ReadWholeFile(path), red_);  // the client's file is left as it was
    }
    ExpectNoTemporaryLeft();
}

TEST_F(WallpaperTest, ASecondCallReplacesTheCopy)
{
    // A read-only bitmap gives a read-only copy, which the next call replaces all the same.
    const std::string red = temp_.Write("red.bmp", red_);
    ::SetFileAttributesA(red.c_str(), FILE_ATTRIBUTE_READONLY);
    ExpectStatus(SetWallpaper(red, "tile"), 0);
    const Variant path = Variant::Text(temp_.Write("blue.bmp", blue_));
    const Variant style = Variant::Text("stretch");
    ExpectStatus(CallByValue(ops_.get(), L"SetWallpaper", {&path.get(), &style.get()}), 0);
    EXPECT_EQ(ReadWholeFile(copy_), blue_);
    EXPECT_EQ(RegText(kDesktopKey, "Wallpaper"), copy_);
    EXPECT_EQ(RegText(kDesktopKey, "WallpaperStyle"), "2");
    EXPECT_EQ(ReadWholeFile(red), red_);
    ExpectNoTemporaryLeft();
}

TEST_F(WallpaperTest, RefusedBeforeAnythingChanges)
{
    ExpectStatus(SetWallpaper(temp_.Write("red.bmp", red_), "tile"), 0);
    const State before = Now();

    const std::string text = temp_.Write("notes.txt", "not a bitmap");
    const std::string jpg = temp_.Write("picture.jpg", red_);
    const std::string no_extension = temp_.Write("bitmap", red_);
    const std::string folder = temp_.Path("folder.bmp");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    struct Refusal {
        std::string label;
        Variant path, style;
        short status;
    };
    std::vector<Refusal> cases;
    auto add = [&](std::string label, Variant path, Variant style, short status) {
        cases.push_back({std::move(label), std::move(path), std::move(style), status});
    };
    add("missing file", Variant::Text(temp_.Path("missing.bmp")), Variant::Text("tile"), 1);
    add("missing file, unknown style", Variant::Text(temp_.Path("missing.bmp")),
        Variant::Text("zoom"), 1);
    add("unknown style before the extension", Variant::Text(text), Variant::Text("zoom"), 2);
    add("empty style", Variant::Text(text), Variant::Text(""), 2);
    add("a .jpg", Variant::Text(jpg), Variant::Text("tile"), 1);
    add("no extension", Variant::Text(no_extension), Variant::Text("center"), 1);
    add("a folder", Variant::Text(folder), Variant::Text("center"), 1);
    add("empty path", Variant::Text(""), Variant::Text("center"), 1);
    add("a NUL inside the path", Variant::Text(jpg + std::string(1, '\0') + ".bmp"),
        Variant::Text("tile"), 1);
    add("a device", Variant::Text("NUL.bmp"), Variant::Text("tile"), 1);
    add("Null path", Null(), Variant::Text("tile"), 3);
    add("Null style", Variant::Text(temp_.Path("missing.bmp")), Null(), 3);
    for (Refusal& c : cases) {
        SCOPED_TRACE(c.label);
        ExpectStatus(SetWallpaper(std::move(c.path), std::move(c.style)), c.status);
        EXPECT_TRUE(Now() == before);
    }
    ExpectNoTemporaryLeft();
}

// The copy's own path, however it is spelled, applies the copy as it is: it is neither
// deleted nor copied onto itself.
TEST_F(WallpaperTest, TheCopyItselfIsAppliedAsItIs)
{
    ExpectStatus(SetWallpaper(temp_.Write("red.bmp", red_), "tile"), 0);
    std::string forward = copy_;
    for (char& c : forward) {
        if (c == '\\') c = '/';
    }
    const std::string spellings[] = {copy_, windows_ + "\\KOVARWP.BMP", forward,
                                     windows_ + "\\.\\system32\\..\\kovarwp.bmp"};
    for (const std::string& path : spellings) {
        SCOPED_TRACE(path);
        ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(""), 0);
        ExpectStatus(SetWallpaper(path, "stretch"), 0);
        EXPECT_EQ(ReadWholeFile(copy_), red_);
        EXPECT_EQ(RegText(kDesktopKey, "Wallpaper"), copy_);
        EXPECT_EQ(RegText(kDesktopKey, "WallpaperStyle"), "2");
        EXPECT_EQ(CurrentWallpaper(), copy_);
    }
    ExpectNoTemporaryLeft();
}

// A bitmap that cannot be read (another program holds it without sharing) fails with 3 and
// leaves the old copy and every registry value as they were.
TEST_F(WallpaperTest, ACopyThatFailsKeepsTheOldWallpaper)
{
    ExpectStatus(SetWallpaper(temp_.Write("red.bmp", red_), "tile"), 0);
    const State before = Now();
    const std::string blue = temp_.Write("blue.bmp", blue_);
    {
        const FileHandle held(::CreateFileA(blue.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        ExpectStatus(SetWallpaper(blue, "stretch"), 3);
    }
    EXPECT_TRUE(Now() == before);
    EXPECT_EQ(ReadWholeFile(copy_), red_);
    ExpectNoTemporaryLeft();
}

}  // namespace
}  // namespace kovar3::test
