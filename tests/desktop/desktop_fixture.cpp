#include "desktop/desktop_fixture.h"

#include <gtest/gtest.h>

#include "desktop/system_colors.h"
#include "desktop/wallpaper.h"
#include "platform/file_system.h"
#include "platform/unique.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

const char kSessionColorsKey[] =
    "Software\\Wine\\Temporary System Parameters\\Control Panel\\Colors";
const char kSessionDesktopKey[] =
    "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";

}  // namespace

KeySnapshot::KeySnapshot(HKEY root, std::string path) : root_(root), path_(std::move(path))
{
    RegKey key;
    existed_ = ::RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
    if (!existed_) return;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD name_size = sizeof name;
        DWORD type = 0, size = 0;
        if (::RegEnumValueA(key.get(), i, name, &name_size, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        Value value{std::string(name, name_size), type, std::string(size, '\0')};
        if (::RegQueryValueExA(key.get(), value.name.c_str(), nullptr, &value.type,
                               reinterpret_cast<BYTE*>(value.bytes.data()),
                               &size) == ERROR_SUCCESS) {
            value.bytes.resize(size);
            values_.push_back(std::move(value));
        }
    }
}

void KeySnapshot::Restore() const
{
    if (!existed_) {
        ::RegDeleteTreeA(root_, path_.c_str());
        ::RegDeleteKeyA(root_, path_.c_str());
        return;
    }
    RegKey key;
    if (::RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot restore " << path_;
        return;
    }
    // Values added since the snapshot go first, then everything is written back.
    std::vector<std::string> now;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD name_size = sizeof name;
        if (::RegEnumValueA(key.get(), i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        now.emplace_back(name, name_size);
    }
    for (const std::string& name : now) ::RegDeleteValueA(key.get(), name.c_str());
    for (const Value& value : values_) {
        ::RegSetValueExA(key.get(), value.name.c_str(), 0, value.type,
                         reinterpret_cast<const BYTE*>(value.bytes.data()),
                         static_cast<DWORD>(value.bytes.size()));
    }
}

FileSnapshot::FileSnapshot(std::string path) : path_(std::move(path))
{
    attributes_ = ::GetFileAttributesA(path_.c_str());
    existed_ = attributes_ != INVALID_FILE_ATTRIBUTES;
    if (existed_) bytes_ = ReadWholeFile(path_);
}

void FileSnapshot::Restore() const
{
    ::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path_.c_str());
    if (!existed_) return;
    const FileHandle file(::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), bytes_.data(), static_cast<DWORD>(bytes_.size()),
                              &written, nullptr)) {
        ADD_FAILURE() << "cannot restore " << path_;
        return;
    }
    ::SetFileAttributesA(path_.c_str(), attributes_);
}

SystemColorsRestorer::SystemColorsRestorer()
    : key_(HKEY_CURRENT_USER, kColorsKey), session_key_(HKEY_CURRENT_USER, kSessionColorsKey)
{
    for (const desktop::ColorElement& element : desktop::kColorElements) {
        indexes_.push_back(element.index);
        colors_.push_back(::GetSysColor(element.index));
    }
}

SystemColorsRestorer::~SystemColorsRestorer()
{
    ::SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), colors_.data());
    key_.Restore();
    session_key_.Restore();
}

WallpaperRestorer::WallpaperRestorer()
    : wallpaper_(CurrentWallpaper()),
      key_(HKEY_CURRENT_USER, kDesktopKey),
      session_key_(HKEY_CURRENT_USER, kSessionDesktopKey),
      copy_(desktop::WallpaperCopyPath(WindowsFolder()))
{
}

WallpaperRestorer::~WallpaperRestorer()
{
    copy_.Restore();
    std::string wallpaper = wallpaper_;
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, wallpaper.data(), SPIF_UPDATEINIFILE);
    // Last: what the system call wrote to the profile is replaced as well.
    key_.Restore();
    session_key_.Restore();
}

std::string RegText(const std::string& path, const std::string& name)
{
    RegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return "<missing>";
    char text[1024] = {};
    DWORD type = 0, size = sizeof text - 1;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS)
        return "<missing>";
    if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
    return text;
}

std::string CurrentWallpaper()
{
    char path[MAX_PATH + 1] = {};
    ::SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof path - 1, path, 0);
    return path;
}

std::string Bitmap(int width, int height, COLORREF first, COLORREF last)
{
    const int row_bytes = (width * 3 + 3) & ~3;
    const DWORD pixel_bytes = row_bytes * height;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixel_bytes;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = pixel_bytes;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < height; ++y) {
        std::string row(row_bytes, '\0');
        for (int x = 0; x < width; ++x) {
            auto mix = [&](int a, int b) { return static_cast<char>(a + (b - a) * x / width); };
            row[x * 3] = mix(GetBValue(first), GetBValue(last));
            row[x * 3 + 1] = mix(GetGValue(first), GetGValue(last));
            row[x * 3 + 2] = mix(GetRValue(first), GetRValue(last));
        }
        bytes += row;
    }
    return bytes;
}

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const FindHandle find(::FindFirstFileA((folder + "\\" + pattern).c_str(), &found));
    if (!find) return names;
    do {
        names.push_back(found.cFileName);
    } while (::FindNextFileA(find.get(), &found));
    return names;
}

}  // namespace kovar3::test
