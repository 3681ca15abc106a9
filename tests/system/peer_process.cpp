#include "system/peer_process.h"

#include <vector>

#include "platform/text.h"
#include "support/paths.h"

namespace kovar3::test {

std::string Hex(const std::string& bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

PeerProcess::PeerProcess(const std::string& arguments)
{
    const std::wstring exe = ExecutableFolder() + L"\\kovar3_peer.exe";
    std::wstring command = L"\"" + exe + L"\" " + FromAnsi(arguments);
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
        ::CloseHandle(info.hThread);
        process_.reset(info.hProcess);
    }
}

PeerProcess::~PeerProcess() { Wait(); }

int PeerProcess::Wait(DWORD timeout_ms)
{
    if (!process_) return -1;
    if (::WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
        process_.reset();
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    process_.reset();
    return static_cast<int>(code);
}

int RunPeer(const std::string& arguments) { return PeerProcess(arguments).Wait(); }

}  // namespace kovar3::test
