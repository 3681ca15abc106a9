#include "desktop/wallpaper.h"

#include <windows.h>

#include "platform/registry_text.h"
#include "platform/text.h"
#include "platform/unique.h"

namespace kovar3::desktop {
namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
// How long the setting-change broadcast waits for each window that is not hung.
constexpr UINT kBroadcastTimeoutMs = 10000;

// The volume and index that identify a file however its path is spelled; false when the file
// cannot be reached. Opening for no data access passes every sharing mode.
bool IdentifyFile(const std::string& path, BY_HANDLE_FILE_INFORMATION& info)
{
    const FileHandle file(::CreateFileA(path.c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ::GetFileInformationByHandle(file.get(), &info);
}

// True when both paths reach one file: letter case, "/" for "\", "." and "..", a short name or
// a second link make no difference.
bool SameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return IdentifyFile(a, first) && IdentifyFile(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

// A file made for one call and removed when the call ends, unless it was kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (path_.empty()) return;
        ::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

// Renames `source` to `destination`, replacing it. Windows 95/98/ME have no MoveFileExA (it
// fails with ERROR_CALL_NOT_IMPLEMENTED): there the old file is deleted first, and only the
// rename itself can leave it missing.
bool MoveReplacing(const std::string& source, const std::string& destination)
{
    if (::MoveFileExA(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    if (::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    ::DeleteFileA(destination.c_str());
    return ::MoveFileA(source.c_str(), destination.c_str()) != 0;
}

// Puts a copy of `source` at `destination` in `folder` without a moment in which the old
// destination is gone and the new one not yet whole: the copy is made under a temporary name in
// the same folder and then renamed over the old one. False, with the old destination as it
// was, when any step fails (a source that cannot be read, a full disk, a destination that
// cannot be replaced).
bool ReplaceWithCopy(const FileSystem& files, const std::string& source, const std::string& folder,
                     const std::string& destination)
{
    char temp_name[MAX_PATH] = {};
    if (!::GetTempFileNameA(folder.c_str(), "kov", 0, temp_name)) return false;
    TemporaryFile temp(temp_name);
    try {
        files.CopyFile(source, temp.path());
    } catch (const FileSystemError&) {
        return false;
    }
    // A read-only copy (the client's bitmap was read-only) is replaced all the same.
    const DWORD attributes = ::GetFileAttributesA(destination.c_str());
    const bool read_only =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (read_only) ::SetFileAttributesA(destination.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!MoveReplacing(temp.path(), destination)) {
        if (read_only) ::SetFileAttributesA(destination.c_str(), attributes);
        return false;
    }
    temp.Keep();
    return true;
}

// Records the wallpaper in the profile, applies it and tells every top-level window; false
// when the key cannot be opened or the system refuses the wallpaper.
bool ApplyWallpaper(const std::string& path, WallpaperValues values)
{
    {
        RegKey key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_ALL_ACCESS, key.put()) !=
            ERROR_SUCCESS)
            return false;
        WriteRegText(key.get(), "Wallpaper", path);
        WriteRegText(key.get(), "TileWallpaper", values.tile_wallpaper);
        WriteRegText(key.get(), "WallpaperStyle", values.wallpaper_style);
    }
    std::string buffer = path;  // the call takes a writable pointer
    if (!::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, buffer.data(),
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
        return false;
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0,
                          SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &answer);
    return true;
}

}  // namespace

std::optional<WallpaperStyle> WallpaperStyleFromName(const std::string& name)
{
    const std::string upper = UpperAscii(name);
    if (upper == "CENTER") return WallpaperStyle::kCenter;
    if (upper == "TILE") return WallpaperStyle::kTile;
    if (upper == "STRETCH") return WallpaperStyle::kStretch;
    return std::nullopt;
}

WallpaperValues RegistryValuesOf(WallpaperStyle style)
{
    switch (style) {
    case WallpaperStyle::kCenter: return {"0", "0"};
    case WallpaperStyle::kTile: return {"1", "0"};
    case WallpaperStyle::kStretch: break;
    }
    return {"0", "2"};
}

std::string WallpaperCopyPath(const std::string& windows_folder)
{
    return windows_folder + "\\kovarwp.bmp";
}

WallpaperStatus SetWallpaper(const FileSystem& files, const std::string& path,
                             const std::string& style)
{
    if (!files.FileExists(path)) return kNoBitmap;
    const std::optional<WallpaperStyle> layout = WallpaperStyleFromName(style);
    if (!layout) return kUnknownStyle;
    if (UpperAscii(files.GetExtensionName(path)) != "BMP") return kNoBitmap;
    const std::string folder = files.GetWindowsFolder();
    const std::string copy = WallpaperCopyPath(folder);
    if (!SameFile(path, copy) && !ReplaceWithCopy(files, path, folder, copy))
        return kWallpaperFailed;
    return ApplyWallpaper(copy, RegistryValuesOf(*layout)) ? kWallpaperSet : kWallpaperFailed;
}

}  // namespace kovar3::desktop
