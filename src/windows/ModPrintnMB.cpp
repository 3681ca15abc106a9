#include "windows/ModPrintnMB.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/seams.h"

namespace kovar3::ModPrintnMB {

long PrintWithShell(const std::string& directory, const std::string& file) noexcept
{
    // Sized as this build defines the record: 60 bytes in the 32-bit build, 112 in the 64-bit.
    SHELLEXECUTEINFOA record{};
    record.cbSize = sizeof record;
    record.fMask = SEE_MASK_FLAG_NO_UI;
    record.lpVerb = "Print";
    record.lpFile = file.c_str();
    record.lpParameters = "";
    record.lpDirectory = directory.c_str();
    record.nShow = SW_SHOWNORMAL;
    ::SetLastError(ERROR_SUCCESS);
    if (Seams().shell_execute_ex(&record)) return 0;
    const DWORD last_error = ::GetLastError();
    const long code = static_cast<long>(reinterpret_cast<INT_PTR>(record.hInstApp));
    if (code != 0) return code;
    return last_error != ERROR_SUCCESS ? static_cast<long>(last_error) : kNoAssociation;
}

}  // namespace kovar3::ModPrintnMB
