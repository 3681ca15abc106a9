// The file-system service that Ops and INIEdit objects own: existence tests, names, drives,
// the Windows folder, deleting and copying. A thin layer over the Win32 file and volume calls.
//
// The existence tests never fail: a missing, malformed or unreachable path answers false.
// The other operations throw FileSystemError when the platform refuses them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace kovar3 {

class FileSystemError : public std::runtime_error {
public:
    FileSystemError(const std::string& what, DWORD code) : std::runtime_error(what), code_(code) {}
    DWORD code() const noexcept { return code_; }

private:
    DWORD code_;
};

// Drive kinds as scripts know them.
enum class DriveKind : int {
    kUnknown = 0,
    kRemovable = 1,
    kFixed = 2,
    kNetwork = 3,
    kCdRom = 4,
    kRamDisk = 5,
};

// What the file system keeps about a file besides its content and its name.
struct FileDetails {
    DWORD attributes = 0;
    FILETIME created{};
    FILETIME last_written{};
    std::uint64_t size = 0;
};

// The Windows folder, such as "C:\windows"; throws FileSystemError when the platform cannot
// say.
std::string WindowsFolder();

// The part of `path` after its last "\", "/" or ":" (all of it when there is none), looked for
// by character so the second byte of a double-byte character is never taken for "\".
std::string LastPathComponent(const std::string& path);

class FileSystem {
public:
    // True only for an existing file; a folder, and a name that opens a device (CON, NUL,
    // COM1.ini, \\.\pipe\x ...), answer false.
    bool FileExists(const std::string& path) const;
    // The size, times and attributes of an existing file, read with one platform call; none
    // wherever FileExists answers false.
    std::optional<FileDetails> GetFileDetails(const std::string& path) const;
    // True only for an existing folder.
    bool FolderExists(const std::string& path) const;
    // Text after the last dot of the path's last component, without the dot; "" when the last
    // component has no dot. Trailing separators are ignored, as for any folder path.
    std::string GetExtensionName(const std::string& path) const;
    // True when the drive exists: "C:\", "C:" or "C" for a lettered drive, or a UNC root.
    bool DriveExists(const std::string& root) const;
    // Kind of the drive; throws FileSystemError when it does not exist.
    DriveKind GetDriveType(const std::string& root) const;
    // Full path of the folder holding an existing file ("C:\" for a file in a root folder);
    // throws FileSystemError when the file does not exist.
    std::string GetParentFolderPath(const std::string& file_path) const;
    // The full path of `path`, resolved against the current folder as the platform resolves it
    // ("." and ".." removed, "/" made "\"); throws FileSystemError when it is not a path.
    std::string GetAbsolutePathName(const std::string& path) const;
    // The Windows folder, such as "C:\windows".
    std::string GetWindowsFolder() const;
    // Deletes a file, read-only or not; throws FileSystemError on failure.
    void DeleteFile(const std::string& path) const;
    // Copies a file, replacing an existing destination; throws FileSystemError on failure.
    void CopyFile(const std::string& source, const std::string& destination) const;
};

}  // namespace kovar3
