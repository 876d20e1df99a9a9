#pragma once

// The run without a window, for timers and cron: the same window state and handlers on the
// headless backend, the outcomes printed.

namespace quorvel {

// Exit statuses of the headless run.
inline constexpr int kExitCheckedIn = 0;  // checked in now, or already today
inline constexpr int kExitLoginFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCheckInFailed = 3;
inline constexpr int kExitNoCredentials = 4;

// OnWindowCreated, then OnLogin with the saved credentials, then OnCheckIn when the login
// succeeded. Returns the exit status.
int RunHeadless();

}  // namespace quorvel
