// Where the test finds the built DLLs: the test executable lives in build/x64, beside the
// 64-bit kovar3.dll; the 32-bit one is in build/x86.
#pragma once

#include <string>

namespace kovar3::test {

enum class Arch { k64, k32 };

std::wstring BuiltDll(Arch arch);
std::wstring ExecutableFolder();

}  // namespace kovar3::test
