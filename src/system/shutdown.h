// Logging the user off, shutting down and restarting, chosen by a small mode number.
#pragma once

namespace kovar3::system {

// 0 logs off, 1 shuts down, 2 restarts; any other mode does nothing. Shutdown and restart
// enable the shutdown privilege first. The request goes without the force flag, so a program
// may still refuse it, and its outcome is not reported.
void ExitWindowsByMode(short mode) noexcept;

}  // namespace kovar3::system
