// The platform's version query, read once per question (the family detection and
// GetOpVersion both ask it).
#pragma once

#include <windows.h>

namespace kovar3 {

// Fills `record` from GetVersionExA with the 148-byte OSVERSIONINFOA (the same size on both
// architectures); false, with `record` untouched, when the query fails. A unit test can make
// the query fail through the seams.
bool QueryOsVersion(OSVERSIONINFOA& record) noexcept;

}  // namespace kovar3
