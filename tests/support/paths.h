// Where the test finds the built DLLs: the test executable lives in build/x64, beside the
// 64-bit kovar3.dll; the 32-bit one is in build/x86.
#pragma once

#include <string>

namespace kovar3::test {

enum class Arch { k64, k32 };

std::wstring BuiltDll(Arch arch);
std::wstring ExecutableFolder();

// A fresh folder below the system temp folder, removed with everything in it on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }  // ANSI, no trailing backslash
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

}  // namespace kovar3::test
