// PrintWithShell against a stand-in for the shell: the record it fills, and the code it gives
// for each way the shell can answer (Wine's shell always leaves a code; Windows' sometimes
// does not).
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/seams.h"
#include "windows/ModPrintnMB.h"

namespace kovar3::test {
namespace {

struct ShellAnswer {
    BOOL accepted;
    DWORD last_error;
    INT_PTR code;  // left in hInstApp; 0 leaves it alone
};

ShellAnswer answer;
SHELLEXECUTEINFOA seen;
std::string seen_verb, seen_file, seen_parameters, seen_directory;
bool parameters_given = false;

BOOL WINAPI StandInShell(SHELLEXECUTEINFOA* record)
{
    seen = *record;
    seen_verb = record->lpVerb ? record->lpVerb : "<null>";
    seen_file = record->lpFile ? record->lpFile : "<null>";
    parameters_given = record->lpParameters != nullptr;
    seen_parameters = parameters_given ? record->lpParameters : "";
    seen_directory = record->lpDirectory ? record->lpDirectory : "<null>";
    if (answer.code) record->hInstApp = reinterpret_cast<HINSTANCE>(answer.code);
    ::SetLastError(answer.last_error);
    return answer.accepted;
}

class StandInShellScope {
public:
    explicit StandInShellScope(const ShellAnswer& a) : saved_(Seams().shell_execute_ex)
    {
        answer = a;
        Seams().shell_execute_ex = StandInShell;
    }
    ~StandInShellScope() { Seams().shell_execute_ex = saved_; }

private:
    BOOL(WINAPI* saved_)(SHELLEXECUTEINFOA*);
};

TEST(PrintWithShell, FillsTheRecordForThePrintVerb)
{
    StandInShellScope shell({TRUE, 0, 0});
    EXPECT_EQ(ModPrintnMB::PrintWithShell("C:\\", "C:\\report.txt"), 0);
    EXPECT_EQ(seen.cbSize, sizeof(SHELLEXECUTEINFOA));  // this build's record, not 60 bytes
    EXPECT_EQ(seen.fMask, static_cast<ULONG>(SEE_MASK_FLAG_NO_UI));
    EXPECT_EQ(seen.hwnd, nullptr);
    EXPECT_EQ(seen_verb, "Print");
    EXPECT_EQ(seen_file, "C:\\report.txt");
    EXPECT_TRUE(parameters_given);  // an empty text, not a null pointer
    EXPECT_EQ(seen_parameters, "");
    EXPECT_EQ(seen_directory, "C:\\");
    EXPECT_EQ(seen.nShow, SW_SHOWNORMAL);
}

TEST(PrintWithShell, ARefusalIsNeverZero)
{
    struct Case {
        const char* label;
        ShellAnswer shell;
        long code;
    };
    const Case cases[] = {
        {"accepted", {TRUE, ERROR_ACCESS_DENIED, 0}, 0},
        {"the shell's own code", {FALSE, ERROR_ACCESS_DENIED, SE_ERR_NOASSOC}, SE_ERR_NOASSOC},
        {"no code: the last error", {FALSE, ERROR_ACCESS_DENIED, 0}, ERROR_ACCESS_DENIED},
        {"no code, no last error", {FALSE, 0, 0}, ModPrintnMB::kNoAssociation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        StandInShellScope shell(c.shell);
        EXPECT_EQ(ModPrintnMB::PrintWithShell("C:\\docs", "C:\\docs\\a.txt"), c.code);
    }
}

}  // namespace
}  // namespace kovar3::test
