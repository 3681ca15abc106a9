// Printing a file with the program registered for its type, through the shell's "Print" verb.
#pragma once

#include <string>

namespace kovar3::ModPrintnMB {

// The shell's code for "no program is associated with this type", used when the shell
// refuses without saying why.
constexpr long kNoAssociation = 31;  // SE_ERR_NOASSOC

// Asks the shell to carry out the "Print" verb on `file`, started in `directory`, with no
// error dialogue of its own. Returns 0 when the shell accepted the request (it does not wait
// for the printing). Otherwise a non-zero code: the error code the shell left in the record,
// or, when it left none, the thread's last error, or kNoAssociation when that is 0 too.
long PrintWithShell(const std::string& directory, const std::string& file) noexcept;

}  // namespace kovar3::ModPrintnMB
