#include "platform/file_system.h"

#include <vector>

#include "platform/text.h"

namespace kovar3 {
namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Separators are looked for by character: in a double-byte code page the second byte of a
// character may be 0x5C.
constexpr std::string_view kSeparators = "\\/";

// Wildcards never name one file; the platform would treat them as a pattern.
bool HasWildcard(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

// What the platform keeps about a path, in one call; false when it names nothing.
bool QueryPath(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    // An embedded NUL would make the platform test a different, shorter path.
    if (path.empty() || HasWildcard(path) || path.find('\0') != std::string::npos) return false;
    return ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != 0;
}

DWORD Attributes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return QueryPath(path, data) ? data.dwFileAttributes : kNoAttributes;
}

// "C:\", "C:" or "C" gives the drive letter in upper case; anything else gives 0.
char DriveLetter(const std::string& root)
{
    if (root.empty() || root.size() > 3) return 0;
    const char letter = UpperAscii(root[0]);
    if (letter < 'A' || letter > 'Z') return 0;
    if (root.size() >= 2 && root[1] != ':') return 0;
    if (root.size() == 3 && !IsSeparator(root[2])) return 0;
    return letter;
}

std::string FullPath(const std::string& path)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()),
                                           buffer.data(), nullptr);
        if (n == 0) throw FileSystemError("invalid path: " + path, ::GetLastError());
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(n);
    }
}

// Names that open a device instead of a file: a DOS device name as the last component, in any
// folder and with any extension ("C:\data\COM1.ini" is the serial port), or the device
// namespace "\\.\". Reading or writing one can block or talk to hardware.
bool NamesDevice(const std::string& path)
{
    const std::string upper = [&] {
        std::string u = UpperAscii(path);
        for (char& c : u) {
            if (c == '/') c = '\\';
        }
        while (!u.empty() && u.back() == ':') u.pop_back();  // "COM1:" is COM1
        return u;
    }();
    if (upper.rfind("\\\\.\\", 0) == 0) return true;
    const size_t separator = FindLastAnsiChar(upper, "\\:");
    std::string base = separator == std::string::npos ? upper : upper.substr(separator + 1);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
           base[3] >= '0' && base[3] <= '9';
}

}  // namespace

bool FileSystem::FileExists(const std::string& path) const
{
    return GetFileDetails(path).has_value();
}

std::optional<FileDetails> FileSystem::GetFileDetails(const std::string& path) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (NamesDevice(path) || !QueryPath(path, data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    FileDetails details;
    details.attributes = data.dwFileAttributes;
    details.created = data.ftCreationTime;
    details.last_written = data.ftLastWriteTime;
    details.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return details;
}

bool FileSystem::FolderExists(const std::string& path) const
{
    const DWORD attributes = Attributes(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FileSystem::GetExtensionName(const std::string& path) const
{
    std::string last = path;
    while (EndsWithAnsiChar(last, kSeparators)) last.pop_back();
    const std::string name = LastPathComponent(last);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool FileSystem::DriveExists(const std::string& root) const
{
    if (const char letter = DriveLetter(root)) return (::GetLogicalDrives() >> (letter - 'A')) & 1;
    if (root.size() > 2 && IsSeparator(root[0]) && IsSeparator(root[1]) &&
        root.find('\0') == std::string::npos) {
        std::string unc = root;
        if (!EndsWithAnsiChar(unc, kSeparators)) unc += '\\';
        return ::GetDriveTypeA(unc.c_str()) != DRIVE_NO_ROOT_DIR;
    }
    return false;
}

DriveKind FileSystem::GetDriveType(const std::string& root) const
{
    if (!DriveExists(root)) throw FileSystemError("no such drive: " + root, ERROR_INVALID_DRIVE);
    std::string path = root;
    if (const char letter = DriveLetter(root))
        path = std::string(1, letter) + ":\\";
    else if (!EndsWithAnsiChar(path, kSeparators))
        path += '\\';
    switch (::GetDriveTypeA(path.c_str())) {
    case DRIVE_REMOVABLE: return DriveKind::kRemovable;
    case DRIVE_FIXED: return DriveKind::kFixed;
    case DRIVE_REMOTE: return DriveKind::kNetwork;
    case DRIVE_CDROM: return DriveKind::kCdRom;
    case DRIVE_RAMDISK: return DriveKind::kRamDisk;
    default: return DriveKind::kUnknown;
    }
}

std::string FileSystem::GetParentFolderPath(const std::string& file_path) const
{
    if (!FileExists(file_path))
        throw FileSystemError("file not found: " + file_path, ERROR_FILE_NOT_FOUND);
    std::string full = FullPath(file_path);
    while (full.size() > 3 && EndsWithAnsiChar(full, kSeparators)) full.pop_back();
    const size_t cut = FindLastAnsiChar(full, kSeparators);
    if (cut == std::string::npos) throw FileSystemError("no parent: " + full, ERROR_PATH_NOT_FOUND);
    std::string parent = full.substr(0, cut);
    if (parent.size() == 2 && parent[1] == ':') parent += '\\';  // a root folder keeps its "\"
    return parent;
}

std::string FileSystem::GetAbsolutePathName(const std::string& path) const
{
    if (path.empty() || path.find('\0') != std::string::npos)
        throw FileSystemError("invalid path: " + path, ERROR_INVALID_NAME);
    return FullPath(path);
}

std::string FileSystem::GetWindowsFolder() const { return WindowsFolder(); }

std::string LastPathComponent(const std::string& path)
{
    const size_t separator = FindLastAnsiChar(path, "\\/:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string WindowsFolder()
{
    char buffer[MAX_PATH + 1] = {};
    const UINT n = ::GetWindowsDirectoryA(buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) throw FileSystemError("no Windows folder", ::GetLastError());
    return std::string(buffer, n);
}

void FileSystem::DeleteFile(const std::string& path) const
{
    if (!FileExists(path)) throw FileSystemError("file not found: " + path, ERROR_FILE_NOT_FOUND);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!::DeleteFileA(path.c_str()))
        throw FileSystemError("cannot delete: " + path, ::GetLastError());
}

void FileSystem::CopyFile(const std::string& source, const std::string& destination) const
{
    if (!FileExists(source))
        throw FileSystemError("file not found: " + source, ERROR_FILE_NOT_FOUND);
    if (destination.find('\0') != std::string::npos)
        throw FileSystemError("invalid path: " + destination, ERROR_INVALID_NAME);
    if (!::CopyFileA(source.c_str(), destination.c_str(), FALSE))
        throw FileSystemError("cannot copy to: " + destination, ::GetLastError());
}

}  // namespace kovar3
