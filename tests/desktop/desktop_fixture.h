// What the desktop tests change in the session, put back on every path: a snapshot is taken
// when a restorer is made and written back when it goes, failed assertions included.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kovar3::test {

// One registry key as it was: every value with its type and bytes, or the key missing.
class KeySnapshot {
public:
    KeySnapshot(HKEY root, std::string path);
    // Recreates or removes the key, removes values added since and writes the rest back.
    void Restore() const;

private:
    struct Value {
        std::string name;
        DWORD type;
        std::string bytes;
    };
    HKEY root_;
    std::string path_;
    bool existed_ = false;
    std::vector<Value> values_;
};

// One file as it was: its bytes and attributes, or missing.
class FileSnapshot {
public:
    explicit FileSnapshot(std::string path);
    void Restore() const;

private:
    std::string path_;
    bool existed_ = false;
    DWORD attributes_ = 0;
    std::string bytes_;
};

// The sixteen element colours and HKCU\Control Panel\Colors. Wine keeps what SetSysColors sets
// under HKCU\Software\Wine\Temporary System Parameters\Control Panel\Colors until the session
// ends; that key is put back too (it does not exist on Windows).
class SystemColorsRestorer {
public:
    SystemColorsRestorer();
    ~SystemColorsRestorer();
    SystemColorsRestorer(const SystemColorsRestorer&) = delete;
    SystemColorsRestorer& operator=(const SystemColorsRestorer&) = delete;

private:
    std::vector<INT> indexes_;
    std::vector<COLORREF> colors_;
    KeySnapshot key_;
    KeySnapshot session_key_;
};

// The wallpaper the system uses, HKCU\Control Panel\Desktop (and Wine's session copy of it, as
// above) and the wallpaper copy in the Windows folder.
class WallpaperRestorer {
public:
    WallpaperRestorer();
    ~WallpaperRestorer();
    WallpaperRestorer(const WallpaperRestorer&) = delete;
    WallpaperRestorer& operator=(const WallpaperRestorer&) = delete;

private:
    std::string wallpaper_;
    KeySnapshot key_;
    KeySnapshot session_key_;
    FileSnapshot copy_;
};

constexpr char kColorsKey[] = "Control Panel\\Colors";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// A REG_SZ value's text without its terminator; "<missing>" when there is no such value and
// "<type N>" for another type, so a mismatch shows what is there.
std::string RegText(const std::string& path, const std::string& name);

// The wallpaper the system reports (SPI_GETDESKWALLPAPER).
std::string CurrentWallpaper();

// A 24-bit bitmap of `width` x `height` pixels, each row running through the colours from
// `first` to `last`.
std::string Bitmap(int width, int height, COLORREF first, COLORREF last);

// Files left in `folder` whose names match `pattern` ("kov*.tmp").
std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern);

}  // namespace kovar3::test
