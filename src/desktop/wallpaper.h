// The desktop wallpaper: a bitmap is copied to "kovarwp.bmp" in the Windows folder, and the
// copy, never the script's own file, is recorded under HKCU\Control Panel\Desktop, applied and
// announced to every top-level window.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace kovar3::desktop {

enum class WallpaperStyle { kCenter, kTile, kStretch };

// "center", "tile" or "stretch" in any letter case; nullopt for anything else.
std::optional<WallpaperStyle> WallpaperStyleFromName(const std::string& name);

// The texts of "TileWallpaper" and "WallpaperStyle" for a layout.
struct WallpaperValues {
    const char* tile_wallpaper;
    const char* wallpaper_style;
};
WallpaperValues RegistryValuesOf(WallpaperStyle style);

// The wallpaper copy: "kovarwp.bmp" in the Windows folder.
std::string WallpaperCopyPath(const std::string& windows_folder);

enum WallpaperStatus : short {
    kWallpaperSet = 0,
    kNoBitmap = 1,  // no such file, or its extension is not BMP
    kUnknownStyle = 2,
    kWallpaperFailed = 3,  // the copy, the key or the system call failed
};

// Makes the bitmap at `path` the wallpaper with the layout named `style`. The file and the
// style are checked before anything changes. The copy is made under a temporary name beside
// the old one and only then put in its place, so a copy that fails leaves the old copy and the
// registry as they were; a `path` that reaches the copy itself applies it as it is. Throws for
// an allocation failure or when the Windows folder cannot be found.
WallpaperStatus SetWallpaper(const FileSystem& files, const std::string& path,
                             const std::string& style);

}  // namespace kovar3::desktop
