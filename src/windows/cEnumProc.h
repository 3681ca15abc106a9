// The running processes, listed through a Toolhelp snapshot, and the gate that decides from
// the operating-system family and version whether the snapshot functions exist at all.
#pragma once

#include <windows.h>

#include <string>

namespace kovar3::windows {

// Lists the processes of one snapshot. One instance serves one listing.
class cEnumProc {
public:
    // The executable names of all processes in snapshot order, joined by "," (no spaces, no
    // trailing comma; names are not escaped), and their number. Returns 1 when the list was
    // taken, 0 when the snapshot's first entry could not be read (list "", count 0), -1 when no
    // snapshot could be taken (list "", count 0) or something failed on the way (list "",
    // count untouched). More entries than a 16-bit count holds is such a failure. The snapshot
    // is closed on every path.
    long cGetProcessList(std::string& sProcList, short& iNum);

private:
    // A fixed name field up to its first NUL, or whole when it holds none.
    static std::string TrimAtNull(const char* field, size_t size);

    std::string name_;          // the entry being added
    BOOL last_result_ = FALSE;  // of the last Process32First or Process32Next
};

// Statuses of ListProcesses.
enum ProcessListStatus : short {
    kProcessesListed = 0,
    kVersionUnknown = 1,  // the family detection failed
    kNoSnapshots = 2,     // NT family before major version 5: no Toolhelp functions
    kListFailed = 3,      // no snapshot, no first entry, or an error
};

struct ProcessList {
    ProcessListStatus status = kListFailed;
    std::string names;  // "" unless status is kProcessesListed
    short count = 0;    // 0 unless status is kProcessesListed
};

// The process list for a system of this family (1 NT, 0 95/98/ME, -1 unknown) and major
// version. Never touches the snapshot functions where the family or version rules them out.
ProcessList ListProcesses(short os_family, long os_major_version);

}  // namespace kovar3::windows
