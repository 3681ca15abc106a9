// A folder of its own for one test under the user's temp folder, removed with everything in
// it (read-only, hidden and system files included) when the test ends.
#pragma once

#include <string>

namespace kovar3::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The full path of `name` inside the folder.
    std::string Path(const std::string& name) const { return path_ + "\\" + name; }
    // Writes `bytes` into the file `name` (replacing it) and returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

// The whole content of a file; "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool FileIsThere(const std::string& path);

}  // namespace kovar3::test
