// Stands in for a program's "print" command in the PrintFile tests: it appends the folder it
// was started in and each of its arguments to the log named by its first argument, then ends.
// Not part of the DLL.
//
//   kovar3_print_recorder.exe <log file> <argument>...
//
// The log is UTF-8:
//   folder <current folder>
//   arg <argument>            once per argument after the log file
//   end
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "utf8_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    HANDLE log = kovar3::test_programs::OpenLog(argv[1]);
    if (log == INVALID_HANDLE_VALUE) return 3;
    wchar_t folder[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, folder);
    std::wstring record = L"folder " + std::wstring(folder) + L"\n";
    for (int i = 2; i < argc; ++i) record += L"arg " + std::wstring(argv[i]) + L"\n";
    kovar3::test_programs::AppendLine(log, record + L"end");
    ::CloseHandle(log);
    ::LocalFree(argv);
    return 0;
}
