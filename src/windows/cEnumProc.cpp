#include "windows/cEnumProc.h"

#include <tlhelp32.h>

#include <limits>
#include <stdexcept>

#include "platform/text.h"
#include "platform/unique.h"

namespace kovar3::windows {

std::string cEnumProc::TrimAtNull(const char* field, size_t size) { return CutAtNul(field, size); }

long cEnumProc::cGetProcessList(std::string& sProcList, short& iNum)
{
    FileHandle snapshot;
    try {
        snapshot.reset(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) {
            sProcList.clear();
            iNum = 0;
            return -1;
        }
        // Sized as this build defines the record: the 64-bit one is larger than the 32-bit one.
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        last_result_ = ::Process32First(snapshot.get(), &entry);
        if (!last_result_) {
            sProcList.clear();
            iNum = 0;
            return 0;
        }
        std::string list = TrimAtNull(entry.szExeFile, sizeof entry.szExeFile);
        long count = 1;
        while ((last_result_ = ::Process32Next(snapshot.get(), &entry))) {
            if (count == std::numeric_limits<short>::max()) throw std::overflow_error("count");
            name_ = TrimAtNull(entry.szExeFile, sizeof entry.szExeFile);
            list += ',';
            list += name_;
            ++count;
        }
        sProcList = std::move(list);
        iNum = static_cast<short>(count);
        return 1;
    } catch (...) {
        sProcList.clear();
        return -1;
    }
}

ProcessList ListProcesses(short os_family, long os_major_version)
{
    ProcessList out;
    if (os_family == -1) {
        out.status = kVersionUnknown;
        return out;
    }
    if (os_family == 1 && os_major_version < 5) {
        out.status = kNoSnapshots;
        return out;
    }
    cEnumProc lister;
    if (lister.cGetProcessList(out.names, out.count) >= 1) {
        out.status = kProcessesListed;
    } else {
        out.names.clear();
        out.count = 0;
    }
    return out;
}

}  // namespace kovar3::windows
