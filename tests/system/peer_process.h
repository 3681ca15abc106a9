// Running kovar3_peer.exe, the other program of the system tests (tests/system/peer), built
// beside the test executable. Every wait has a time limit; a peer still running then is ended.
#pragma once

#include <windows.h>

#include <string>

#include "platform/unique.h"

namespace kovar3::test {

// Bytes as two hexadecimal digits each, the way text reaches the peer's command line intact.
std::string Hex(const std::string& bytes);

class PeerProcess {
public:
    // Starts the peer with `arguments`; started() tells whether it could.
    explicit PeerProcess(const std::string& arguments);
    // Waits for the peer (ending it when it outlives the limit).
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    // The exit code, or -1 when the peer did not finish within `timeout_ms` (it is ended).
    int Wait(DWORD timeout_ms = 15000);

private:
    Handle process_;
};

// Runs the peer to its end: its exit code, or -1 when it did not start or finish in time.
int RunPeer(const std::string& arguments);

}  // namespace kovar3::test
